#!/usr/bin/python3
"""renders_match_linux.py --wine WINE --host TEST_HOST.exe --dll murkfell.dll
                          --linux-render murkfell-render --work FOLDER

The same guitar recording through the Windows DLL (under Wine, in the test host)
and through the Linux plug-in (in murkfell-render) must come out bit for bit the
same: at several rates (both oversampling factors), knob settings and block sizes.
"""
import argparse
import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts", "host_checks"))
from guitar_wav import riff  # noqa: E402
from wav_io import write_wav_float  # noqa: E402

DRIVEN = {"Gain": 0.9, "Bass": 0.2, "Middle": 0.8, "Treble": 0.35, "Level": 0.8, "CabSim": 0}
CLEAN = {"Gain": 0.05, "Bass": 1, "Middle": 0, "Treble": 1, "Level": 1}

# (rate, block size, settings): factor 12 below 50 kHz and 7 above, blocks from
# one sample to more than the loop's internal chunk, and the bypass path.
CASES = [
    (44100, 512, {}),
    (44100, 1, DRIVEN),
    (48000, 64, CLEAN),
    (96000, 4096, DRIVEN),
    (192000, 333, {}),
    (22050, 777, {"Bypass": 1}),
]


def recording(rate):
    """A riff, the same riff pushed into hard clipping, then silence for the
    tails to decay through the flush rule."""
    played = riff(rate, 1.2)
    return played + [1.9 * v for v in played] + [0.0] * (rate // 4)


def float_samples(path):
    """The data chunk's bytes of a 32-bit float WAV, and its rate."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError(f"{path} is not a WAV file")
    pos, rate, body = 12, None, None
    while pos + 8 <= len(data):
        tag, size = struct.unpack_from("<4sI", data, pos)
        chunk = data[pos + 8:pos + 8 + size]
        if tag == b"fmt ":
            tag_format, channels, rate = struct.unpack_from("<HHI", chunk)
            bits = struct.unpack_from("<H", chunk, 14)[0]
            if tag_format == 0xFFFE:
                tag_format = struct.unpack_from("<H", chunk, 24)[0]
            if (tag_format, channels, bits) != (3, 1, 32):
                raise ValueError(f"{path} is not mono 32-bit float")
        elif tag == b"data":
            body = chunk
        pos += 8 + size + (size & 1)
    return rate, body


def main():
    parser = argparse.ArgumentParser()
    for option in ("--wine", "--host", "--dll", "--linux-render", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    env = dict(os.environ, WINEDEBUG="-all")

    failures = 0
    inputs = {}
    for number, (rate, block, settings) in enumerate(CASES):
        if rate not in inputs:
            inputs[rate] = os.path.join(args.work, f"guitar-{rate}.wav")
            write_wav_float(inputs[rate], rate, [recording(rate)])
        sets = [arg for name, value in settings.items() for arg in ("--set", f"{name}={value}")]
        linux_out = os.path.join(args.work, f"case{number}-linux.wav")
        windows_out = os.path.join(args.work, f"case{number}-windows.wav")
        subprocess.run([args.linux_render, inputs[rate], linux_out, "--block", str(block)] + sets,
                       check=True, stdout=subprocess.DEVNULL)
        subprocess.run([args.wine, args.host, args.dll, "render", inputs[rate], windows_out,
                        "--block", str(block)] + sets, check=True, env=env)
        _, played = float_samples(inputs[rate])
        linux_rate, linux = float_samples(linux_out)
        windows_rate, windows = float_samples(windows_out)
        label = f"{rate} Hz, blocks of {block}, {settings or 'defaults'}"
        bypassed = settings.get("Bypass") == 1
        if linux_rate != rate or windows_rate != rate or len(linux) != len(played):
            print(f"FAIL {label}: rates {linux_rate}/{windows_rate} or lengths differ")
            failures += 1
        elif linux != windows:
            first = next(i for i in range(0, len(linux), 4) if linux[i:i + 4] != windows[i:i + 4])
            print(f"FAIL {label}: first different sample is number {first // 4}")
            failures += 1
        elif (linux == played) != bypassed:
            print(f"FAIL {label}: the pedal {'changed' if bypassed else 'passed'} the sound")
            failures += 1
        else:
            print(f"ok   {label}: {len(linux) // 4} samples identical")
    print(f"{len(CASES) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
