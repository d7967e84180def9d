"""The PNG decoder against ImageMagick's encoder, and the panel search on made-up
screens: where it is, where it is not, and where it is only partly."""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from find_panel import MIN_FRACTION, find  # noqa: E402
from png_io import Image, PngError, decode, read_png  # noqa: E402


def pattern(width, height, seed):
    """RGBA bytes with gradients, stripes and noise: every row and column differs."""
    rng = random.Random(seed)
    out = bytearray()
    for y in range(height):
        for x in range(width):
            out += bytes(((x * 7 + y) % 256, (y * 5) % 256,
                          255 if (x // 4 + y // 3) % 2 else rng.randrange(64), 255))
    return Image(width, height, bytes(out))


def paste(screen, panel, ox, oy, change=lambda x, y, px: px):
    rgba = bytearray(screen.rgba)
    for y in range(panel.height):
        for x in range(panel.width):
            px = panel.pixel(x, y)
            if px[3] == 255:
                i = 4 * ((oy + y) * screen.width + ox + x)
                rgba[i:i + 4] = bytes(change(x, y, px))
    return Image(screen.width, screen.height, bytes(rgba))


@unittest.skipUnless(shutil.which("convert"), "ImageMagick's convert is not installed")
class PngDecodeTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)
        self.source = pattern(37, 23, seed=5)  # odd sizes: rows do not end on a byte
        self.raw = os.path.join(self.dir.name, "source.rgba")
        with open(self.raw, "wb") as f:
            f.write(self.source.rgba)

    def encode(self, *options, prefix="png"):
        out = os.path.join(self.dir.name, "out.png")
        subprocess.run(["convert", "-size", "37x23", "-depth", "8", f"rgba:{self.raw}",
                        *options, f"{prefix}:{out}"], check=True)
        return read_png(out)

    def test_rgb_with_every_row_filter_matches_the_source(self):
        # Quality 95: zlib level 9 with adaptive filtering, which picks among all five filters.
        for prefix in ("png24", "png48"):
            image = self.encode("-alpha", "off", "-quality", "95", prefix=prefix)
            self.assertEqual((image.width, image.height), (37, 23))
            self.assertEqual(image.rgba, self.source.rgba, prefix)

    def test_rgba_and_palette_match_the_source(self):
        self.assertEqual(self.encode("-quality", "95", prefix="png32").rgba, self.source.rgba)
        few = self.encode("-colors", "4", prefix="png8")
        # Four colours: a palette at a bit depth below 8, each pixel one of four.
        self.assertLessEqual(len({few.pixel(x, y) for x in range(37) for y in range(23)}), 4)

    def test_grey_expands_to_equal_channels(self):
        image = self.encode("-colorspace", "gray", "-alpha", "off", prefix="png")
        r, g, b, a = image.pixel(10, 10)
        self.assertTrue(r == g == b and a == 255)

    def test_truncated_or_foreign_data_is_an_error(self):
        with self.assertRaises(PngError):
            decode(b"GIF89a")
        with open(os.path.join(self.dir.name, "source.rgba"), "rb") as f:
            with self.assertRaises(PngError):
                decode(b"\x89PNG\r\n\x1a\n" + f.read(40))


class FindPanelTest(unittest.TestCase):
    def setUp(self):
        self.panel = pattern(40, 30, seed=1)
        rng = random.Random(2)
        self.screen = Image(200, 150, bytes(rng.randrange(256) if i % 4 != 3 else 255
                                            for i in range(200 * 150 * 4)))

    def test_found_where_pasted_despite_small_rendering_differences(self):
        def jitter(x, y, px):
            return tuple(min(255, c + (x + y) % 4) for c in px[:3]) + (255,)
        found = find(paste(self.screen, self.panel, 123, 45, jitter), self.panel, 16)
        self.assertEqual((found["x"], found["y"]), (123, 45))
        self.assertEqual(found["near"], 1.0)
        self.assertLess(found["exact"], 0.5)

    def test_absent_panel_is_not_found(self):
        found = find(self.screen, self.panel, 16)
        self.assertTrue(found is None or found["near"] < 0.98)

    def test_partly_covered_panel_scores_below_the_threshold(self):
        def cover(x, y, px):
            return (0, 0, 0, 255) if x < 10 and y < 10 else px  # a corner hidden
        found = find(paste(self.screen, self.panel, 10, 100, cover), self.panel, 16)
        self.assertEqual((found["x"], found["y"]), (10, 100))
        self.assertAlmostEqual(found["near"], 1 - 100 / 1200, delta=0.01)

    def test_one_pixel_in_a_thousand_changed_falls_below_the_pass_mark(self):
        def dot(x, y, px):
            return (255 - px[0], px[1], px[2], 255) if (x, y) == (20, 15) else px
        found = find(paste(self.screen, self.panel, 70, 60, dot), self.panel, 16)
        self.assertEqual((found["x"], found["y"]), (70, 60))
        self.assertLess(found["near"], MIN_FRACTION)

    def test_transparent_pixels_of_the_panel_are_not_compared(self):
        rgba = bytearray(self.panel.rgba)
        for i in range(3, len(rgba), 4 * 3):
            rgba[i] = 0  # every third pixel see-through
        holed = Image(self.panel.width, self.panel.height, bytes(rgba))
        screen = paste(self.screen, holed, 60, 20)
        found = find(screen, holed, 0)
        self.assertEqual((found["x"], found["y"], found["near"]), (60, 20, 1.0))

    def test_panel_larger_than_the_screen_is_not_found(self):
        self.assertIsNone(find(self.panel, self.screen, 16))


if __name__ == "__main__":
    unittest.main()
