"""The WAV reader and the render comparison: files written by other encoders read
back exactly, and the comparison fails on the faults it exists to catch."""
import os
import struct
import sys
import tempfile
import unittest
import unittest.mock
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from compare_wav import changed_from_input, compare, float32_step, main  # noqa: E402
from wav_io import Wav, WavError, read_wav, write_wav_float  # noqa: E402


def next_float32(x):
    """The float32 just above x (x a positive float32 value)."""
    bits = struct.unpack("<I", struct.pack("<f", x))[0]
    return struct.unpack("<f", struct.pack("<I", bits + 1))[0]


class WavFilesTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def path(self, name):
        return os.path.join(self.dir.name, name)

    def test_pcm_from_the_standard_encoder_reads_to_exact_fractions(self):
        for width, raw, expected in (
                (2, struct.pack("<3h", -32768, 1, 32767), [-1.0, 1 / 32768, 32767 / 32768]),
                (3, b"\x00\x00\x80" + b"\x01\x00\x00" + b"\xff\xff\xff",
                 [-1.0, 1 / 8388608, -1 / 8388608])):
            with wave.open(self.path("pcm.wav"), "wb") as w:
                w.setnchannels(1)
                w.setsampwidth(width)
                w.setframerate(48000)
                w.writeframes(raw)
            wav = read_wav(self.path("pcm.wav"))
            self.assertEqual((wav.rate, wav.encoding, wav.bits), (48000, "pcm", 8 * width))
            self.assertEqual(wav.channels, [expected])

    def test_float_round_trip_keeps_every_bit_and_deinterleaves(self):
        left = [0.1, -0.5, 1e-30, 0.75]
        right = [0.3, 0.0, -1.0, 2.5]
        write_wav_float(self.path("f.wav"), 44100, [left, right])
        wav = read_wav(self.path("f.wav"))
        self.assertEqual((wav.rate, wav.encoding, wav.bits, wav.frames), (44100, "float", 32, 4))
        as_float32 = [[struct.unpack("<f", struct.pack("<f", v))[0] for v in ch]
                      for ch in (left, right)]
        self.assertEqual(wav.channels, as_float32)

    def test_not_a_wave_file_is_an_error(self):
        with open(self.path("x.wav"), "wb") as f:
            f.write(b"RIFF\x04\x00\x00\x00AVI ")
        with self.assertRaises(WavError):
            read_wav(self.path("x.wav"))


class CompareTest(unittest.TestCase):
    def float_wav(self, *channels, rate=44100):
        return Wav(rate, "float", 32, [list(ch) for ch in channels])

    def test_float_renders_agree_within_one_step_and_no_further(self):
        base = [0.5, -0.25, 0.1]
        one_step = [next_float32(0.5), -0.25, 0.1]
        two_steps = [next_float32(next_float32(0.5)), -0.25, 0.1]
        ok, s = compare(self.float_wav(base), self.float_wav(one_step))
        self.assertTrue(ok)
        self.assertEqual((s["identical"], s["max_steps"]), (2, 1.0))
        ok, s = compare(self.float_wav(base), self.float_wav(two_steps))
        self.assertFalse(ok)
        self.assertEqual(s["max_steps"], 2.0)

    def test_exact_refuses_even_one_step(self):
        with tempfile.TemporaryDirectory() as folder:
            a, b = os.path.join(folder, "a.wav"), os.path.join(folder, "b.wav")
            write_wav_float(a, 44100, [[0.5, -0.25]])
            write_wav_float(b, 44100, [[next_float32(0.5), -0.25]])
            with open(os.devnull, "w") as quiet, unittest.mock.patch("sys.stdout", quiet):
                self.assertEqual(main([a, b]), 0)
                self.assertEqual(main([a, b, "--exact"]), 1)
                self.assertEqual(main([a, a, "--exact"]), 0)

    def test_step_follows_the_magnitude(self):
        self.assertEqual(float32_step(1.0), 2.0 ** -23)
        self.assertEqual(float32_step(-0.75), 2.0 ** -24)
        self.assertEqual(float32_step(0.0), 2.0 ** -149)
        # A tiny absolute difference is many steps near zero.
        ok, _ = compare(self.float_wav([1e-6]), self.float_wav([1.001e-6]))
        self.assertFalse(ok)

    def test_pcm_allows_one_lsb_of_the_coarser_file(self):
        lsb = 2.0 ** -15
        pcm = Wav(44100, "pcm", 16, [[0.25, -0.5]])
        self.assertTrue(compare(pcm, self.float_wav([0.25 + lsb, -0.5]))[0])
        self.assertFalse(compare(pcm, self.float_wav([0.25 + 2 * lsb, -0.5]))[0])

    def test_shape_mismatches_fail(self):
        a = self.float_wav([0.0, 0.1])
        for b in (self.float_wav([0.0]), self.float_wav([0.0, 0.1], rate=48000),
                  self.float_wav([0.0, 0.1], [0.0, 0.1])):
            ok, s = compare(a, b)
            self.assertFalse(ok)
            self.assertIn("differ", s["error"])

    def test_render_must_be_audible_and_changed(self):
        dry = self.float_wav([0.5, -0.5, 0.25, 0.0])
        self.assertTrue(changed_from_input(self.float_wav([0.9, -0.9, 0.6, 0.0]), dry)[0])
        self.assertFalse(changed_from_input(dry, dry)[0], "the input passed through")
        self.assertFalse(changed_from_input(self.float_wav([0.0] * 4), dry)[0], "silence")


if __name__ == "__main__":
    unittest.main()
