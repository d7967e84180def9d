"""The faces the artwork is drawn in, as fontconfig finds them.

Fontconfig quietly stands another family in for a missing one, which would
change every image; the generator stops instead and names the package.
"""

import functools
import subprocess

PACKAGES = {"DejaVu Sans": "fonts-dejavu-core", "Liberation Serif": "fonts-liberation2"}


@functools.cache
def face_file(family, bold=False, italic=False):
    """The font file fontconfig draws `family` in, in the given style."""
    pattern = family + (":bold" if bold else "") + (":italic" if italic else "")
    try:
        found = subprocess.run(["fc-match", "-f", "%{family}\n%{file}", pattern], check=True,
                               capture_output=True, text=True).stdout
    except FileNotFoundError:
        raise SystemExit("the artwork generator needs fc-match (Debian: fontconfig)") from None
    families, _, path = found.partition("\n")
    if family not in families.split(","):
        raise SystemExit(f"the artwork is drawn in {family}, which is not installed "
                         f"(Debian: {PACKAGES.get(family, 'a package providing it')}); "
                         f"fontconfig would draw {families or 'nothing'} instead")
    return path
