#!/usr/bin/python3
"""find_panel.py SCREEN.png PANEL.png [--tolerance N] [--min-fraction F]

Finds the picture PANEL (the editor rendered off-screen) inside the screenshot
SCREEN and passes when, at the best place, at least F of PANEL's opaque pixels lie
within N (per colour channel, 0..255) of the screen. Prints where it was found.
"""
import sys

import numpy as np
from PIL import Image

import checks

GRID = 8                  # probes per side of the panel
PROBE_TOLERANCE = 48      # loose: probes only pick the places worth a full comparison
MAX_PROBE_MISSES = 6      # of GRID * GRID probes
MAX_CANDIDATES = 20
# Screen and snapshot come from the same drawing code, so they normally agree
# exactly; the margin allows a few stray pixels, not a knob drawn at another angle
# (about 0.1 % of the panel).
MIN_FRACTION = 0.9999


def load_rgba(path):
    """The picture as an array of rows of RGBA pixels, whatever its PNG colour type."""
    with Image.open(path) as picture:
        return np.asarray(picture.convert("RGBA"))


def _is_flat(img, x, y):
    """True when the 3x3 neighbourhood has one colour: text edges and anti-aliasing
    are where two renderers may differ, flat areas are not."""
    around = img[max(y - 1, 0):y + 2, max(x - 1, 0):x + 2]
    return bool((around == img[y, x]).all())


def probes(panel):
    height, width = panel.shape[:2]
    points = []
    for gy in range(GRID):
        for gx in range(GRID):
            x = (2 * gx + 1) * width // (2 * GRID)
            y = (2 * gy + 1) * height // (2 * GRID)
            if panel[y, x, 3] == 255:
                off_centre = (2 * x - width) ** 2 + (2 * y - height) ** 2
                points.append((not _is_flat(panel, x, y), off_centre, x, y))
    # The first probe seeds the candidates: a flat one near the centre, the place
    # least likely to be anti-aliased or covered by something else.
    points.sort()
    return [(x, y, panel[y, x]) for _, _, x, y in points]


def _close_everywhere(screen, panel, x, y, colour, tolerance):
    """For every panel origin on the screen: whether the screen pixel under the
    panel's pixel (x, y) is within tolerance of colour."""
    last_y = screen.shape[0] - panel.shape[0]
    last_x = screen.shape[1] - panel.shape[1]
    under = screen[y:y + last_y + 1, x:x + last_x + 1, :3].astype(np.int16)
    return (np.abs(under - colour[:3].astype(np.int16)) <= tolerance).all(axis=2)


def candidates(screen, panel, points):
    """Panel origins on the screen where nearly all probes match, best first, as
    (misses, x, y)."""
    (x0, y0, c0), rest = points[0], points[1:]
    seeded = _close_everywhere(screen, panel, x0, y0, c0, PROBE_TOLERANCE)
    misses = np.zeros(seeded.shape, dtype=np.int32)
    for x, y, c in rest:
        misses += ~_close_everywhere(screen, panel, x, y, c, PROBE_TOLERANCE)
    oy, ox = np.nonzero(seeded & (misses <= MAX_PROBE_MISSES))
    best = np.lexsort((oy, ox, misses[oy, ox]))[:MAX_CANDIDATES]
    return [(int(misses[oy[i], ox[i]]), int(ox[i]), int(oy[i])) for i in best]


def score(screen, panel, ox, oy, tolerance):
    """(fraction within tolerance, fraction exact, largest channel difference)."""
    height, width = panel.shape[:2]
    under = screen[oy:oy + height, ox:ox + width, :3].astype(np.int16)
    difference = np.abs(under - panel[:, :, :3].astype(np.int16)).max(axis=2)
    compared = difference[panel[:, :, 3] == 255]
    total = max(compared.size, 1)
    return (np.count_nonzero(compared <= tolerance) / total,
            np.count_nonzero(compared == 0) / total, int(compared.max(initial=0)))


def find(screen, panel, tolerance):
    """Best placement as dict(x, y, near, exact, worst), or None when nothing fits."""
    if panel.shape[0] > screen.shape[0] or panel.shape[1] > screen.shape[1]:
        return None
    points = probes(panel)
    if not points:
        return None
    best = None
    for _, ox, oy in candidates(screen, panel, points):
        near, exact, worst = score(screen, panel, ox, oy, tolerance)
        if best is None or near > best["near"]:
            best = {"x": ox, "y": oy, "near": near, "exact": exact, "worst": worst}
    return best


def size(image):
    return f"{image.shape[1]}x{image.shape[0]}"


def main(argv=None):
    ap = checks.argument_parser(__doc__)
    ap.add_argument("screen")
    ap.add_argument("panel")
    ap.add_argument("--tolerance", type=int, default=16)
    ap.add_argument("--min-fraction", type=float, default=MIN_FRACTION)
    args = ap.parse_args(argv)
    try:
        screen, panel = load_rgba(args.screen), load_rgba(args.panel)
    except OSError as e:
        print(f"FAIL {e}")
        return 1
    best = find(screen, panel, args.tolerance)
    if best is None:
        print(f"FAIL the {size(panel)} panel is nowhere in the {size(screen)} screenshot")
        return 1
    ok = best["near"] >= args.min_fraction
    print(f"{'ok' if ok else 'FAIL'} {size(panel)} panel at ({best['x']}, {best['y']}) of "
          f"the {size(screen)} screenshot: "
          f"{100 * best['near']:.3f}% of its pixels within {args.tolerance} "
          f"(needs {100 * args.min_fraction:g}%), {100 * best['exact']:.3f}% exact, "
          f"largest difference {best['worst']}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
