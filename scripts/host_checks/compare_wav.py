#!/usr/bin/python3
"""compare_wav.py A.wav B.wav [--input IN.wav] [--exact]

Passes when A and B have the same rate, channel count and length and every pair of
samples differs by at most one step of the coarser of the two formats (one LSB for
integer PCM, one unit in the last place for float at the pair's magnitude); with
--exact only when every pair is identical. With --input it also demands that A is
audible and differs from IN, so that two silent or two untouched renders cannot
pass as agreeing.
"""
import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wav_io import WavError, read_wav  # noqa: E402

MIN_PEAK = 1e-3           # below this a render counts as silent
MIN_CHANGE = 0.01         # rms(A - IN) / rms(IN) below this counts as untouched


def float32_step(x):
    """Distance from |x| to the next larger float32."""
    x = abs(x)
    if x < 2.0 ** -126:
        return 2.0 ** -149
    return 2.0 ** (math.floor(math.log2(x)) - 23)


def resolution(wav, magnitude):
    if wav.encoding == "pcm":
        return 2.0 ** -(wav.bits - 1)
    if wav.bits == 32:
        return float32_step(magnitude)
    return math.ulp(magnitude)


def rms(values):
    return math.sqrt(sum(v * v for v in values) / len(values)) if values else 0.0


def compare(a, b):
    """Returns (ok, summary dict) for two Wav objects."""
    shape_a = (a.rate, len(a.channels), a.frames)
    shape_b = (b.rate, len(b.channels), b.frames)
    if shape_a != shape_b:
        return False, {"error": f"rate/channels/frames differ: {shape_a} vs {shape_b}"}
    worst_diff = worst_steps = 0.0
    identical = 0
    for ca, cb in zip(a.channels, b.channels):
        for x, y in zip(ca, cb):
            diff = abs(x - y)
            if diff == 0.0:
                identical += 1
                continue
            magnitude = max(abs(x), abs(y))
            steps = diff / max(resolution(a, magnitude), resolution(b, magnitude))
            worst_diff = max(worst_diff, diff)
            worst_steps = max(worst_steps, steps)
    total = a.frames * len(a.channels)
    summary = {"samples": total, "identical": identical, "max_abs_diff": worst_diff,
               "max_steps": worst_steps, "format_a": a.describe(), "format_b": b.describe()}
    return worst_steps <= 1.0, summary


def changed_from_input(out, inp):
    """Returns (ok, summary): the render is audible and not the input passed through."""
    if (out.rate, len(out.channels), out.frames) != (inp.rate, len(inp.channels), inp.frames):
        return False, {"error": "render and input differ in rate, channels or length"}
    peak = max(abs(v) for ch in out.channels for v in ch)
    diff = [x - y for co, ci in zip(out.channels, inp.channels) for x, y in zip(co, ci)]
    change = rms(diff) / max(rms([v for ch in inp.channels for v in ch]), 1e-30)
    return peak >= MIN_PEAK and change >= MIN_CHANGE, {"peak": peak, "change": change}


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("a")
    ap.add_argument("b")
    ap.add_argument("--input", help="the file both renders were made from")
    ap.add_argument("--exact", action="store_true", help="every sample must be identical")
    args = ap.parse_args(argv)
    try:
        a, b = read_wav(args.a), read_wav(args.b)
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
            audible, c = changed_from_input(a, read_wav(args.input))
            if "error" in c:
                print(f"FAIL {c['error']}")
                return 1
            print(f"{'ok' if audible else 'FAIL'} render peak {c['peak']:.4f} (needs "
                  f">= {MIN_PEAK}), rms(render - input)/rms(input) {c['change']:.3f} "
                  f"(needs >= {MIN_CHANGE})")
            ok = ok and audible
    except (OSError, WavError) as e:
        print(f"FAIL {e}")
        return 1
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
