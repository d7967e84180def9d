#!/usr/bin/python3
"""Draws the Murkfell editor images and their contact sheet.

Writes resources/<name>.png for the six images and docs/artwork.png, relative
to the repository root (or --root). Run with Debian's /usr/bin/python3, which
has python3-cairo and python3-pil.
"""

import argparse
import pathlib

import artwork_set
import contact_sheet
import png_output

REPO_ROOT = pathlib.Path(__file__).resolve().parents[2]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=pathlib.Path, default=REPO_ROOT,
                        help="repository root to write resources/ and docs/ under")
    root = parser.parse_args().root

    images = artwork_set.render_all()
    (root / "resources").mkdir(parents=True, exist_ok=True)
    (root / "docs").mkdir(parents=True, exist_ok=True)
    for name, image in images.items():
        path = root / "resources" / name
        if name in artwork_set.KEYED:
            png_output.save_keyed(image, artwork_set.KEYED[name], path)
        else:
            png_output.save_rgba(image, path)
        print(f"wrote {path}")
    sheet_path = root / "docs" / "artwork.png"
    png_output.save_rgba(contact_sheet.build(images, artwork_set.KEYED), sheet_path)
    print(f"wrote {sheet_path}")


if __name__ == "__main__":
    main()
