"""The render comparison: files written by other encoders read back exactly, and
the comparison fails on the faults it exists to catch."""
import os
import struct
import tempfile
import unittest
import unittest.mock
import wave

import numpy as np
import soundfile

from compare_wav import Recording, changed_from_input, compare, float32_step, main, read_recording


def next_float32(x):
    return float(np.nextafter(np.float32(x), np.float32(np.inf)))


def float_recording(*channels, rate=44100):
    return Recording(rate, "FLOAT", np.array(channels, dtype=np.float64).T)


class ReadTest(unittest.TestCase):
    def test_pcm_from_the_standard_encoder_reads_to_exact_fractions(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "pcm.wav")
            for width, raw, expected in (
                    (2, struct.pack("<3h", -32768, 1, 32767), [-1.0, 1 / 32768, 32767 / 32768]),
                    (3, b"\x00\x00\x80" + b"\x01\x00\x00" + b"\xff\xff\xff",
                     [-1.0, 1 / 8388608, -1 / 8388608])):
                with wave.open(path, "wb") as w:
                    w.setnchannels(1)
                    w.setsampwidth(width)
                    w.setframerate(48000)
                    w.writeframes(raw)
                recording = read_recording(path)
                self.assertEqual((recording.rate, recording.subtype), (48000, f"PCM_{8 * width}"))
                self.assertEqual(recording.samples[:, 0].tolist(), expected)

    def test_compressed_samples_are_refused(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "ulaw.wav")
            soundfile.write(path, np.zeros(16), 8000, subtype="ULAW")
            with self.assertRaises(ValueError):
                read_recording(path)


class CompareTest(unittest.TestCase):
    def test_float_renders_agree_within_one_step_and_no_further(self):
        base = [0.5, -0.25, 0.1]
        one_step = [next_float32(0.5), -0.25, 0.1]
        two_steps = [next_float32(next_float32(0.5)), -0.25, 0.1]
        ok, s = compare(float_recording(base), float_recording(one_step))
        self.assertTrue(ok)
        self.assertEqual((s["identical"], s["max_steps"]), (2, 1.0))
        ok, s = compare(float_recording(base), float_recording(two_steps))
        self.assertFalse(ok)
        self.assertEqual(s["max_steps"], 2.0)

    def test_exact_refuses_even_one_step(self):
        with tempfile.TemporaryDirectory() as folder:
            a, b = os.path.join(folder, "a.wav"), os.path.join(folder, "b.wav")
            soundfile.write(a, np.array([0.5, -0.25]), 44100, subtype="FLOAT")
            soundfile.write(b, np.array([next_float32(0.5), -0.25]), 44100, subtype="FLOAT")
            with open(os.devnull, "w") as quiet, unittest.mock.patch("sys.stdout", quiet):
                self.assertEqual(main([a, b]), 0)
                self.assertEqual(main([a, b, "--exact"]), 1)
                self.assertEqual(main([a, a, "--exact"]), 0)

    def test_step_follows_the_magnitude(self):
        self.assertEqual(float32_step(1.0), 2.0 ** -23)
        self.assertEqual(float32_step(-0.75), 2.0 ** -24)
        self.assertEqual(float32_step(0.0), 2.0 ** -149)
        # A tiny absolute difference is many steps near zero.
        ok, _ = compare(float_recording([1e-6]), float_recording([1.001e-6]))
        self.assertFalse(ok)

    def test_pcm_allows_one_lsb_of_the_coarser_file(self):
        lsb = 2.0 ** -15
        pcm = Recording(44100, "PCM_16", np.array([[0.25], [-0.5]]))
        self.assertTrue(compare(pcm, float_recording([0.25 + lsb, -0.5]))[0])
        self.assertFalse(compare(pcm, float_recording([0.25 + 2 * lsb, -0.5]))[0])

    def test_shape_mismatches_fail(self):
        a = float_recording([0.0, 0.1])
        for b in (float_recording([0.0]), float_recording([0.0, 0.1], rate=48000),
                  float_recording([0.0, 0.1], [0.0, 0.1])):
            ok, s = compare(a, b)
            self.assertFalse(ok)
            self.assertIn("differ", s["error"])

    def test_render_must_be_audible_and_changed(self):
        dry = float_recording([0.5, -0.5, 0.25, 0.0])
        self.assertTrue(changed_from_input(float_recording([0.9, -0.9, 0.6, 0.0]), dry)[0])
        self.assertFalse(changed_from_input(dry, dry)[0], "the input passed through")
        self.assertFalse(changed_from_input(float_recording([0.0] * 4), dry)[0], "silence")


if __name__ == "__main__":
    unittest.main()
