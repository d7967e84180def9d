#!/usr/bin/python3
"""editor_under_wine.py --wine WINE --host TEST_HOST.exe --dll murkfell.dll
                        --linux-render murkfell-render --work FOLDER

The DLL's editor in the test host's window under Wine (on the X server in
DISPLAY), against the Linux build's off-screen pictures of the same panel:
  * the window shows the front panel;
  * a click on the footswitch of a bypassed pedal lights the lamp and tells the
    host (Led, then Bypass, inside one edit);
  * a click on the logo turns the pedal over to the back face with its text;
  * opening and closing the editor 20 times leaves no GDI object or window behind.

Tolerance: the panel is made of images, which GDI+ and cairo copy alike, but
they round alpha blending differently (measured under Wine: about 2100 pixels
at the knobs' and logos' soft edges off by one level, none by more), and they
lay out and smooth text differently. A pixel matches when no channel differs
by more than CHANNEL_TOLERANCE; a picture matches when at most MISMATCH_SHARE
of its pixels do not, and the lamp must match entirely. Text lines are
compared by how much ink they hold and where it is centred, not pixel by pixel.
"""
import argparse
import os
import subprocess
import sys
import unittest

from PIL import Image, ImageChops

CHANNEL_TOLERANCE = 3
MISMATCH_SHARE = 0.0005  # 68 of the panel's 136000 pixels, a quarter of the lamp
LAMP = (162, 192, 178, 208)
FOOTSWITCH = (170, 295)
LOGO = (95, 345)
TEXT_LINES = [(70, 180, 270, 200), (70, 220, 270, 240), (70, 240, 270, 260),
              (70, 260, 270, 280), (70, 280, 270, 300)]

ARGS = None


def host(*actions):
    """Runs the test host's editor session; returns its output lines."""
    result = subprocess.run([ARGS.wine, ARGS.host, ARGS.dll, "editor", *map(str, actions)],
                            capture_output=True, text=True, timeout=120,
                            env=dict(os.environ, WINEDEBUG="-all"))
    if result.returncode != 0:
        raise AssertionError(f"test host failed: {result.stderr.strip()}")
    return result.stdout.splitlines()


def linux_snapshot(name, *options):
    path = os.path.join(ARGS.work, name)
    subprocess.run([ARGS.linux_render, "--snapshot", path, *options], check=True,
                   stdout=subprocess.DEVNULL)
    return Image.open(path).convert("RGB")


def shot(name):
    return Image.open(os.path.join(ARGS.work, name)).convert("RGB")


def mismatches(a, b, box=None, outside=()):
    """Pixels of `box` (not in any of `outside`) that differ beyond the tolerance."""
    left, top, right, bottom = box or (0, 0, a.width, a.height)
    difference = ImageChops.difference(a, b).load()
    count = 0
    for y in range(top, bottom):
        for x in range(left, right):
            if any(l <= x < r and t <= y < b_ for l, t, r, b_ in outside):
                continue
            if max(difference[x, y]) > CHANNEL_TOLERANCE:
                count += 1
    return count


def ink(image, box):
    """The bright pixels of a text line: how many, and their horizontal middle."""
    left, top, right, bottom = box
    pixels = image.load()
    xs = [x for y in range(top, bottom) for x in range(left, right) if min(pixels[x, y]) > 128]
    return len(xs), (min(xs) + max(xs)) / 2 if xs else None


class EditorUnderWine(unittest.TestCase):
    def assertPanelMatches(self, shown, expected, outside=()):
        self.assertEqual(shown.size, (340, 400))
        bad = mismatches(shown, expected, outside=outside)
        print(f"  {bad} of {340 * 400} pixels beyond {CHANNEL_TOLERANCE} levels", flush=True)
        self.assertLessEqual(bad, MISMATCH_SHARE * 340 * 400)
        self.assertEqual(mismatches(shown, expected, LAMP, outside), 0)

    def test_window_shows_the_front_panel(self):
        host("open", "idle", 400, "shot", os.path.join(ARGS.work, "front.bmp"), "close")
        self.assertPanelMatches(shot("front.bmp"), linux_snapshot("front.png"))

    def test_footswitch_lights_the_lamp_and_tells_the_host(self):
        out = host("set", "Bypass=1", "open", "idle", 400,
                   "shot", os.path.join(ARGS.work, "bypassed.bmp"),
                   "click", *FOOTSWITCH, "idle", 400,
                   "shot", os.path.join(ARGS.work, "active.bmp"),
                   "print", "Bypass", "print", "Led", "close")
        dark, lit = linux_snapshot("bypassed.png", "--set", "Bypass=1"), linux_snapshot("active.png")
        self.assertGreater(mismatches(dark, lit, LAMP), 100)  # the lamp does show the state
        self.assertPanelMatches(shot("bypassed.bmp"), dark)
        self.assertPanelMatches(shot("active.bmp"), lit)
        self.assertIn("Bypass=0", out)
        self.assertIn("Led=0", out)
        edit = out[out.index("beginEdit 7"):out.index("endEdit 7") + 1]
        self.assertEqual(edit, ["beginEdit 7", "automate 8 0", "automate 7 0", "endEdit 7"])

    def test_logo_turns_the_pedal_over(self):
        host("open", "idle", 400, "click", *LOGO, "idle", 400,
             "shot", os.path.join(ARGS.work, "back.bmp"), "close")
        shown, expected = shot("back.bmp"), linux_snapshot("back.png", "--info")
        self.assertPanelMatches(shown, expected, outside=TEXT_LINES)
        for line in TEXT_LINES:
            shown_ink, shown_middle = ink(shown, line)
            expected_ink, expected_middle = ink(expected, line)
            print(f"  text {line}: {shown_ink} bright pixels centred at {shown_middle}, "
                  f"Linux {expected_ink} at {expected_middle}", flush=True)
            self.assertGreater(shown_ink, 0.5 * expected_ink)
            self.assertLess(shown_ink, 2 * expected_ink)
            self.assertAlmostEqual(shown_middle, expected_middle, delta=4)

    def test_twenty_openings_leave_nothing_behind(self):
        cycle = ["open", "idle", 60, "close"]
        out = host(*cycle, "gdi", *(cycle * 20), "gdi", "children")
        counts = [int(line.split()[1]) for line in out if line.startswith("gdi ")]
        print(f"  GDI objects after the first opening and after 20 more: {counts}", flush=True)
        self.assertEqual(len(counts), 2)
        self.assertGreater(counts[0], 0)
        self.assertEqual(counts[0], counts[1])
        self.assertEqual(out.count("open 1"), 21)
        self.assertIn("children 0", out)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for option in ("--wine", "--host", "--dll", "--linux-render", "--work"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    os.makedirs(ARGS.work, exist_ok=True)
    unittest.main(argv=[sys.argv[0], "-v", *rest])


if __name__ == "__main__":
    main()
