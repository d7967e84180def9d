#!/usr/bin/python3
"""compare_wav.py A.wav B.wav [--input IN.wav] [--exact]

Passes when A and B have the same rate, channel count and length and every pair of
samples differs by at most one step of the coarser of the two formats (one LSB for
integer PCM, one unit in the last place for float at the pair's magnitude); with
--exact only when every pair is identical. With --input it also demands that A is
audible and differs from IN, so that two silent or two untouched renders cannot
pass as agreeing.
"""
import sys
from dataclasses import dataclass

import numpy as np
import soundfile

import checks

MIN_PEAK = 1e-3           # below this a render counts as silent
MIN_CHANGE = 0.01         # rms(A - IN) / rms(IN) below this counts as untouched
PCM_BITS = {"PCM_U8": 8, "PCM_S8": 8, "PCM_16": 16, "PCM_24": 24, "PCM_32": 32}


@dataclass
class Recording:
    rate: int
    subtype: str        # libsndfile's name for the sample format: "PCM_24", "FLOAT", ...
    samples: np.ndarray  # frames x channels, float64, full scale at 1

    @property
    def frames(self):
        return self.samples.shape[0]

    @property
    def channels(self):
        return self.samples.shape[1]

    def describe(self):
        return f"{self.rate} Hz, {self.channels} ch, {self.subtype}"


def read_recording(path):
    """Every sample as the exact fraction of full scale the file holds."""
    subtype = soundfile.info(path).subtype
    if subtype not in PCM_BITS and subtype not in ("FLOAT", "DOUBLE"):
        raise ValueError(f"{path}: {subtype} samples are neither integer PCM nor float")
    samples, rate = soundfile.read(path, dtype="float64", always_2d=True)
    return Recording(rate, subtype, samples)


def float32_step(x):
    """Distance from |x| to the next larger float32, element by element."""
    _, exponent = np.frexp(np.abs(x))  # |x| = m * 2**exponent with 0.5 <= m < 1
    return np.where(np.abs(x) < 2.0 ** -126, 2.0 ** -149, np.ldexp(1.0, exponent - 24))


def resolution(recording, magnitude):
    if recording.subtype in PCM_BITS:
        return np.full_like(magnitude, 2.0 ** -(PCM_BITS[recording.subtype] - 1))
    if recording.subtype == "FLOAT":
        return float32_step(magnitude)
    return np.spacing(magnitude)


def rms(values):
    return float(np.sqrt(np.mean(np.square(values)))) if values.size else 0.0


def compare(a, b):
    """Returns (ok, summary dict) for two Recordings."""
    shape_a = (a.rate, a.channels, a.frames)
    shape_b = (b.rate, b.channels, b.frames)
    if shape_a != shape_b:
        return False, {"error": f"rate/channels/frames differ: {shape_a} vs {shape_b}"}
    diff = np.abs(a.samples - b.samples)
    magnitude = np.maximum(np.abs(a.samples), np.abs(b.samples))
    steps = diff / np.maximum(resolution(a, magnitude), resolution(b, magnitude))
    worst_steps = float(steps.max(initial=0.0))
    summary = {"samples": a.samples.size, "identical": int(np.count_nonzero(diff == 0.0)),
               "max_abs_diff": float(diff.max(initial=0.0)), "max_steps": worst_steps,
               "format_a": a.describe(), "format_b": b.describe()}
    return worst_steps <= 1.0, summary


def changed_from_input(out, inp):
    """Returns (ok, summary): the render is audible and not the input passed through."""
    if (out.rate, out.channels, out.frames) != (inp.rate, inp.channels, inp.frames):
        return False, {"error": "render and input differ in rate, channels or length"}
    peak = float(np.abs(out.samples).max(initial=0.0))
    change = rms(out.samples - inp.samples) / max(rms(inp.samples), 1e-30)
    return peak >= MIN_PEAK and change >= MIN_CHANGE, {"peak": peak, "change": change}


def main(argv=None):
    ap = checks.argument_parser(__doc__)
    ap.add_argument("a")
    ap.add_argument("b")
    ap.add_argument("--input", help="the file both renders were made from")
    ap.add_argument("--exact", action="store_true", help="every sample must be identical")
    args = ap.parse_args(argv)
    try:
        a, b = read_recording(args.a), read_recording(args.b)
        ok, s = compare(a, b)
        if "error" in s:
            print(f"FAIL {s['error']}")
            return 1
        if args.exact:
            ok = s["identical"] == s["samples"]
        print(f"{'ok' if ok else 'FAIL'} {s['samples']} samples ({s['format_a']} vs "
              f"{s['format_b']}): {s['identical']} identical, max |diff| "
              f"{s['max_abs_diff']:.3g} = {s['max_steps']:.3g} steps of the format "
              f"(allowed: {'none' if args.exact else 1})")
        if args.input:
            audible, c = changed_from_input(a, read_recording(args.input))
            if "error" in c:
                print(f"FAIL {c['error']}")
                return 1
            print(f"{'ok' if audible else 'FAIL'} render peak {c['peak']:.4f} (needs "
                  f">= {MIN_PEAK}), rms(render - input)/rms(input) {c['change']:.3f} "
                  f"(needs >= {MIN_CHANGE})")
            ok = ok and audible
    except (OSError, ValueError, soundfile.LibsndfileError) as e:
        print(f"FAIL {e}")
        return 1
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
