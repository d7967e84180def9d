#!/usr/bin/python3
"""find_panel.py SCREEN.png PANEL.png [--tolerance N] [--min-fraction F]

Finds the picture PANEL (the editor rendered off-screen) inside the screenshot
SCREEN and passes when, at the best place, at least F of PANEL's opaque pixels lie
within N (per colour channel, 0..255) of the screen. Prints where it was found.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_io import PngError, read_png  # noqa: E402

GRID = 8                  # probes per side of the panel
PROBE_TOLERANCE = 48      # loose: probes only pick the places worth a full comparison
MAX_PROBE_MISSES = 6      # of GRID * GRID probes
MAX_CANDIDATES = 20
# Screen and snapshot come from the same drawing code, so they normally agree
# exactly; the margin allows a few stray pixels, not a knob drawn at another angle
# (about 0.1 % of the panel).
MIN_FRACTION = 0.9999


def _is_flat(img, x, y):
    """True when the 3x3 neighbourhood has one colour: text edges and anti-aliasing
    are where two renderers may differ, flat areas are not."""
    centre = img.pixel(x, y)
    return all(img.pixel(min(max(x + dx, 0), img.width - 1),
                         min(max(y + dy, 0), img.height - 1)) == centre
               for dx in (-1, 0, 1) for dy in (-1, 0, 1))


def probes(panel):
    points = []
    for gy in range(GRID):
        for gx in range(GRID):
            x = (2 * gx + 1) * panel.width // (2 * GRID)
            y = (2 * gy + 1) * panel.height // (2 * GRID)
            if panel.pixel(x, y)[3] == 255:
                off_centre = (2 * x - panel.width) ** 2 + (2 * y - panel.height) ** 2
                points.append((not _is_flat(panel, x, y), off_centre, x, y))
    # The first probe seeds the candidates: a flat one near the centre, the place
    # least likely to be anti-aliased or covered by something else.
    points.sort()
    return [(x, y, panel.pixel(x, y)) for _, _, x, y in points]


def _close(screen, sx, sy, colour, tolerance):
    i = 4 * (sy * screen.width + sx)
    s = screen.rgba
    return (abs(s[i] - colour[0]) <= tolerance and abs(s[i + 1] - colour[1]) <= tolerance
            and abs(s[i + 2] - colour[2]) <= tolerance)


def candidates(screen, panel, points):
    """Panel origins on the screen where nearly all probes match, best first."""
    (x0, y0, c0), rest = points[0], points[1:]
    last_x, last_y = screen.width - panel.width, screen.height - panel.height
    found = []
    for oy in range(0, last_y + 1):
        for ox in range(0, last_x + 1):
            if not _close(screen, ox + x0, oy + y0, c0, PROBE_TOLERANCE):
                continue
            misses = 0
            for x, y, c in rest:
                if not _close(screen, ox + x, oy + y, c, PROBE_TOLERANCE):
                    misses += 1
                    if misses > MAX_PROBE_MISSES:
                        break
            if misses <= MAX_PROBE_MISSES:
                found.append((misses, ox, oy))
    found.sort()
    return found[:MAX_CANDIDATES]


def score(screen, panel, ox, oy, tolerance):
    """(fraction within tolerance, fraction exact, largest channel difference)."""
    near = exact = total = worst = 0
    for y in range(panel.height):
        p = panel.rgba[4 * y * panel.width:4 * (y + 1) * panel.width]
        start = 4 * ((oy + y) * screen.width + ox)
        s = screen.rgba[start:start + 4 * panel.width]
        for i in range(0, len(p), 4):
            if p[i + 3] != 255:
                continue
            d = max(abs(p[i] - s[i]), abs(p[i + 1] - s[i + 1]), abs(p[i + 2] - s[i + 2]))
            total += 1
            exact += d == 0
            near += d <= tolerance
            worst = max(worst, d)
    return near / max(total, 1), exact / max(total, 1), worst


def find(screen, panel, tolerance):
    """Best placement as dict(x, y, near, exact, worst), or None when nothing fits."""
    if panel.width > screen.width or panel.height > screen.height:
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


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("screen")
    ap.add_argument("panel")
    ap.add_argument("--tolerance", type=int, default=16)
    ap.add_argument("--min-fraction", type=float, default=MIN_FRACTION)
    args = ap.parse_args(argv)
    try:
        screen, panel = read_png(args.screen), read_png(args.panel)
    except (OSError, PngError) as e:
        print(f"FAIL {e}")
        return 1
    best = find(screen, panel, args.tolerance)
    if best is None:
        print(f"FAIL the {panel.width}x{panel.height} panel is nowhere in the "
              f"{screen.width}x{screen.height} screenshot")
        return 1
    ok = best["near"] >= args.min_fraction
    print(f"{'ok' if ok else 'FAIL'} {panel.width}x{panel.height} panel at "
          f"({best['x']}, {best['y']}) of the {screen.width}x{screen.height} screenshot: "
          f"{100 * best['near']:.3f}% of its pixels within {args.tolerance} "
          f"(needs {100 * args.min_fraction:g}%), {100 * best['exact']:.3f}% exact, "
          f"largest difference {best['worst']}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
