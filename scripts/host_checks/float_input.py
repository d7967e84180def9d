#!/usr/bin/python3
"""float_input.py CLEAN.wav OUT.wav [--sine-right]

Writes the samples of CLEAN.wav (murkfell-render's clean riff) unchanged into
OUT.wav as 32-bit float; with --sine-right as the left channel of a stereo file
whose right channel is a 220 Hz sine at -12 dBFS.
"""
import sys

import numpy as np
import soundfile

import checks

SINE_HZ = 220.0
SINE_DBFS = -12.0


def stereo_with_sine(mono, rate):
    n = np.arange(len(mono))
    sine = 10.0 ** (SINE_DBFS / 20.0) * np.sin(2.0 * np.pi * SINE_HZ * n / rate)
    return np.column_stack([mono, sine])


def main(argv=None):
    ap = checks.argument_parser(__doc__)
    ap.add_argument("clean")
    ap.add_argument("output")
    ap.add_argument("--sine-right", action="store_true")
    args = ap.parse_args(argv)
    samples, rate = soundfile.read(args.clean, dtype="float64")
    if samples.ndim != 1:
        print(f"{args.clean} is not mono", file=sys.stderr)
        return 1
    if args.sine_right:
        samples = stereo_with_sine(samples, rate)
    soundfile.write(args.output, samples, rate, subtype="FLOAT")
    return 0


if __name__ == "__main__":
    sys.exit(main())
