#!/usr/bin/python3
"""guitar_wav.py OUT.wav [--rate HZ] [--seconds S] [--stereo]

Writes a mono 32-bit float WAV of a short plucked-string riff (a few single notes,
then a power chord), made with the Karplus-Strong string model from a fixed seed,
so the same file comes out on every machine. Peak level 0.5. With --stereo the
riff is the left channel and a 220 Hz sine at -12 dBFS the right one.
"""
import argparse
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wav_io import write_wav_float  # noqa: E402

# (start in seconds, frequencies in Hz): E2, G2, A2, then E2-B2-E3 together.
RIFF = [(0.00, [82.41]), (0.30, [98.00]), (0.55, [110.00]), (0.95, [82.41, 123.47, 164.81])]
PEAK = 0.5


def pluck(rate, frequency, frames, rng):
    """One string: a noise burst circulating in a delay line whose two-tap average
    is a gentle low-pass, so the upper partials die first as on a real string."""
    period = max(2, round(rate / frequency))
    line = [rng.uniform(-1.0, 1.0) for _ in range(period)]
    # Smooth the burst once: a pick excites fewer highs than white noise.
    line = [0.5 * (line[i] + line[i - 1]) for i in range(period)]
    out = []
    for n in range(frames):
        i = n % period
        sample = line[i]
        out.append(sample)
        line[i] = 0.996 * 0.5 * (sample + line[(i + 1) % period])
    return out


def riff(rate, seconds, seed=11):
    rng = random.Random(seed)
    total = int(rate * seconds)
    mix = [0.0] * total
    for start, chord in RIFF:
        first = int(start * rate)
        if first >= total:
            continue
        for frequency in chord:
            for n, v in enumerate(pluck(rate, frequency, total - first, rng)):
                mix[first + n] += v
    peak = max(abs(v) for v in mix) or 1.0
    return [v * PEAK / peak for v in mix]


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("output")
    ap.add_argument("--rate", type=int, default=44100)
    ap.add_argument("--seconds", type=float, default=2.0)
    ap.add_argument("--stereo", action="store_true")
    args = ap.parse_args(argv)
    channels = [riff(args.rate, args.seconds)]
    if args.stereo:
        level = 10.0 ** (-12.0 / 20.0)
        channels.append([level * math.sin(2.0 * math.pi * 220.0 * n / args.rate)
                         for n in range(len(channels[0]))])
    write_wav_float(args.output, args.rate, channels)
    return 0


if __name__ == "__main__":
    sys.exit(main())
