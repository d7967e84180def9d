"""The verdict of ardour_automation.py on exports it could have read."""
import math
import unittest

from ardour_automation import judge


def sine(level, frames=400):
    return [level * math.sin(0.1 * n) for n in range(frames)]


HELD = {"0": sine(0.30), "0.5": sine(0.24), "1": sine(0.37)}


class Judge(unittest.TestCase):
    def test_automation_at_the_loudest_held_level_passes(self):
        automated = sine(0.30)[:200] + sine(0.37)[200:]
        ok, report = judge(HELD, automated, 1.0)
        self.assertTrue(ok, report)

    def test_a_peak_more_than_the_bound_above_fails(self):
        automated = sine(0.30)[:200] + sine(0.37 * 10 ** (1.2 / 20))[200:]
        ok, report = judge(HELD, automated, 1.0)
        self.assertFalse(ok)
        self.assertIn("+1.20 dB", report)

    def test_a_knob_that_is_not_heard_fails(self):
        ok, report = judge({"0": sine(0.3), "1": sine(0.3)}, sine(0.3)[:200] + sine(0.2)[200:], 1.0)
        self.assertFalse(ok)
        self.assertIn("not heard", report)

    def test_a_lane_that_was_not_played_fails(self):
        ok, report = judge(HELD, sine(0.24), 1.0)
        self.assertFalse(ok)
        self.assertIn("not played", report)


if __name__ == "__main__":
    unittest.main()
