"""The float inputs made from the clean riff: its samples kept to the bit, the
sine beside it where asked for."""
import os
import tempfile
import unittest

import numpy as np
import soundfile

from float_input import main


class FloatInputTest(unittest.TestCase):
    def test_riff_kept_exactly_with_the_sine_on_the_right(self):
        riff = np.random.default_rng(3).integers(-2 ** 23, 2 ** 23, 4800) / 2.0 ** 23
        with tempfile.TemporaryDirectory() as folder:
            clean, mono, stereo = (os.path.join(folder, name)
                                   for name in ("clean.wav", "mono.wav", "stereo.wav"))
            soundfile.write(clean, riff, 48000, subtype="PCM_24")
            self.assertEqual(main([clean, mono]), 0)
            self.assertEqual(main([clean, stereo, "--sine-right"]), 0)
            self.assertEqual(soundfile.info(mono).subtype, "FLOAT")
            self.assertEqual(soundfile.read(mono)[0].tolist(), riff.tolist())
            both, rate = soundfile.read(stereo)
        self.assertEqual(rate, 48000)
        self.assertEqual(both[:, 0].tolist(), riff.tolist())
        self.assertAlmostEqual(np.abs(both[:, 1]).max(), 10 ** (-12 / 20), places=4)
        spectrum = np.abs(np.fft.rfft(both[:, 1]))
        self.assertEqual(np.argmax(spectrum) * rate / len(riff), 220.0)


if __name__ == "__main__":
    unittest.main()
