#!/usr/bin/python3
"""renders_match_linux.py --wine WINE --host TEST_HOST.exe --dll murkfell.dll
                          --linux-render murkfell-render --work FOLDER

The same guitar recording through the Windows DLL (under Wine, in the test host)
and through the Linux plug-in (in murkfell-render) must come out bit for bit the
same: at several rates (both oversampling factors), knob settings and block sizes.
"""
import argparse
import os
import subprocess
import sys

import numpy as np
import soundfile

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


def recording(linux_render, folder, rate):
    """The renderer's riff at the rate (its first 1.2 s, peaking at half of full
    scale), the same riff pushed into hard clipping, then silence for the tails to
    decay through the flush rule."""
    os.makedirs(folder, exist_ok=True)
    subprocess.run([linux_render, "--rate", str(rate)], cwd=folder, check=True,
                   stdout=subprocess.DEVNULL)
    riff, _ = soundfile.read(os.path.join(folder, "murkfell-clean.wav"), dtype="float32")
    played = riff[:int(1.2 * rate)]
    played *= 0.5 / np.abs(played).max()
    return np.concatenate([played, 1.9 * played, np.zeros(rate // 4, dtype=np.float32)])


def float_samples(path):
    """The samples of a mono 32-bit float WAV as their bit patterns, and its rate."""
    info = soundfile.info(path)
    if (info.format, info.subtype, info.channels) != ("WAV", "FLOAT", 1):
        raise ValueError(f"{path} is not a mono 32-bit float WAV")
    samples, rate = soundfile.read(path, dtype="float32")
    return rate, samples.view(np.uint32)


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
            played = recording(args.linux_render, os.path.join(args.work, f"riff-{rate}"), rate)
            soundfile.write(inputs[rate], played, rate, subtype="FLOAT")
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
        elif not np.array_equal(linux, windows):
            first = np.flatnonzero(linux != windows)[0]
            print(f"FAIL {label}: first different sample is number {first}")
            failures += 1
        elif np.array_equal(linux, played) != bypassed:
            print(f"FAIL {label}: the pedal {'changed' if bypassed else 'passed'} the sound")
            failures += 1
        else:
            print(f"ok   {label}: {len(linux)} samples identical")
    print(f"{len(CASES) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
