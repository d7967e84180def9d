"""The panel search on made-up screens: where it is, where it is not, and where
it is only partly; and screenshots of any PNG colour type read as RGBA."""
import os
import tempfile
import unittest

import numpy as np
from PIL import Image

from find_panel import MIN_FRACTION, find, load_rgba


def pattern(width, height, seed):
    """Opaque RGBA with gradients, stripes and noise: every row and column differs."""
    rng = np.random.default_rng(seed)
    y, x = np.mgrid[0:height, 0:width]
    stripes = np.where((x // 4 + y // 3) % 2 == 1, 255, rng.integers(0, 64, (height, width)))
    return np.stack([(x * 7 + y) % 256, (y * 5) % 256, stripes, np.full_like(x, 255)],
                    axis=2).astype(np.uint8)


def paste(screen, panel, ox, oy):
    """The screen with the panel's opaque pixels over it at (ox, oy)."""
    out = screen.copy()
    height, width = panel.shape[:2]
    area = out[oy:oy + height, ox:ox + width]
    opaque = panel[:, :, 3] == 255
    area[opaque] = panel[opaque]
    return out


class FindPanelTest(unittest.TestCase):
    def setUp(self):
        self.panel = pattern(40, 30, seed=1)
        self.screen = np.random.default_rng(2).integers(0, 256, (150, 200, 4), dtype=np.uint8)
        self.screen[:, :, 3] = 255

    def test_found_where_pasted_despite_small_rendering_differences(self):
        y, x = np.mgrid[0:30, 0:40]
        jittered = self.panel.copy()
        jittered[:, :, :3] = np.minimum(255, self.panel[:, :, :3] + ((x + y) % 4)[:, :, None])
        found = find(paste(self.screen, jittered, 123, 45), self.panel, 16)
        self.assertEqual((found["x"], found["y"]), (123, 45))
        self.assertEqual(found["near"], 1.0)
        self.assertLess(found["exact"], 0.5)

    def test_absent_panel_is_not_found(self):
        found = find(self.screen, self.panel, 16)
        self.assertTrue(found is None or found["near"] < 0.98)

    def test_partly_covered_panel_scores_below_the_threshold(self):
        covered = self.panel.copy()
        covered[:10, :10, :3] = 0  # a corner hidden
        found = find(paste(self.screen, covered, 10, 100), self.panel, 16)
        self.assertEqual((found["x"], found["y"]), (10, 100))
        self.assertAlmostEqual(found["near"], 1 - 100 / 1200, delta=0.01)

    def test_one_pixel_in_a_thousand_changed_falls_below_the_pass_mark(self):
        dotted = self.panel.copy()
        dotted[15, 20, 0] = 255 - dotted[15, 20, 0]
        found = find(paste(self.screen, dotted, 70, 60), self.panel, 16)
        self.assertEqual((found["x"], found["y"]), (70, 60))
        self.assertLess(found["near"], MIN_FRACTION)

    def test_transparent_pixels_of_the_panel_are_not_compared(self):
        holed = self.panel.copy()
        holed.reshape(-1, 4)[::3, 3] = 0  # every third pixel see-through
        found = find(paste(self.screen, holed, 60, 20), holed, 0)
        self.assertEqual((found["x"], found["y"], found["near"]), (60, 20, 1.0))

    def test_panel_larger_than_the_screen_is_not_found(self):
        self.assertIsNone(find(self.panel, self.screen, 16))


class LoadTest(unittest.TestCase):
    def test_screenshots_without_alpha_or_with_a_palette_read_as_opaque_rgba(self):
        source = pattern(37, 23, seed=5)
        with tempfile.TemporaryDirectory() as folder:
            rgb, few = os.path.join(folder, "rgb.png"), os.path.join(folder, "few.png")
            Image.fromarray(source[:, :, :3]).save(rgb)
            Image.fromarray(source[:, :, :3]).quantize(4).save(few)
            np.testing.assert_array_equal(load_rgba(rgb), source)
            palette = load_rgba(few)
            self.assertEqual(palette.shape, (23, 37, 4))
            self.assertTrue((palette[:, :, 3] == 255).all())
            self.assertLessEqual(len(np.unique(palette.reshape(-1, 4), axis=0)), 4)


if __name__ == "__main__":
    unittest.main()
