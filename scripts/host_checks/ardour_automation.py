#!/usr/bin/python3
"""ardour_automation.py HOSTS_DIR PLUGIN.so OUT_DIR [--rate HZ] [--bound DB]

Treble automation exported from a headless Ardour 7 session: a 397 Hz sine at
-18 dBFS (Ardour's SinGen) through the plug-in, Treble jumping and ramping
between 0 and 1 (ardour_automation.lua), exported as 32-bit float WAV; and the
same with Treble held at 0, 0.5 and 1. Passes when the automated export peaks
within BOUND dB (default 1) of the loudest held one, the held exports differ
(the knob is heard) and the automated one differs from each of them (the lane
was played). The first quarter second, where the generator's first samples
reach the plug-in, is left out of every peak. HOSTS_DIR holds the shared host
harnesses, whose Ardour helpers this uses.
"""
import glob
import math
import os
import sys
import time
import uuid

import numpy as np
import soundfile

import checks

HERE = os.path.dirname(os.path.abspath(__file__))

SECONDS = 4.5
SKIP_SECONDS = 0.25
HELD = ("0", "0.5", "1")

FORMAT = """<?xml version="1.0" encoding="UTF-8"?>
<ExportFormatSpecification name="Float WAV" id="{id}" with-cue="false" with-toc="false" analyse="false">
  <Encoding id="F_WAV" type="T_Sndfile" extension="wav" name="WAV" has-sample-format="true" channel-limit="256"/>
  <SampleRate rate="SR_Session"/>
  <SRCQuality quality="SRC_SincBest"/>
  <EncodingOptions>
    <Option name="sample-format" value="SF_Float"/>
    <Option name="dithering" value="D_None"/>
    <Option name="tag-metadata" value="false"/>
    <Option name="tag-support" value="false"/>
    <Option name="broadcast-info" value="false"/>
  </EncodingOptions>
  <Processing>
    <Normalize enabled="false" loudness="no" dbfs="0" lufs="-23" dbtp="-1"/>
  </Processing>
</ExportFormatSpecification>
"""
PRESET = """<?xml version="1.0" encoding="UTF-8"?>
<ExportPreset id="{id}" name="Float WAV">
  <ExportFormat id="{format}"/>
</ExportPreset>
"""


def install_float_preset(env):
    """A user export preset: WAV, 32-bit float, session rate, no dither or
    normalising (Ardour's own WAV preset is 16-bit and would clip the peaks)."""
    folder = os.path.join(env["XDG_CONFIG_HOME"], "ardour7", "export")
    os.makedirs(folder, exist_ok=True)
    format_id, preset_id = str(uuid.uuid4()), str(uuid.uuid4())
    with open(os.path.join(folder, "float.format"), "w", encoding="utf-8") as f:
        f.write(FORMAT.format(id=format_id))
    with open(os.path.join(folder, "float.preset"), "w", encoding="utf-8") as f:
        f.write(PRESET.format(id=preset_id, format=format_id))
    return preset_id


def scan(ardour, plugin, tmp, timeout):
    """Ardour's VST scanner indexes the plug-in; returns (environment, name)."""
    vstdir = os.path.join(tmp, "vst")
    os.makedirs(vstdir)
    link = os.path.join(vstdir, os.path.basename(plugin))
    os.symlink(plugin, link)
    env = ardour.env_for(tmp, vstdir)
    # Ardour trusts its cache only when it is a second newer than the plug-in.
    young = os.stat(plugin).st_mtime + 1.2 - time.time()
    if young > 0:
        time.sleep(young)
    code, log = ardour.run([ardour.SCANNER, "-f", "-v", link], env, timeout, tmp)
    caches = glob.glob(os.path.join(env["XDG_CACHE_HOME"], "ardour7", "vst", "*"))
    infos = []
    for cache in caches:
        with open(cache, encoding="utf-8", errors="replace") as f:
            infos += ardour.parse_v2i(f.read())
    if code != 0 or not infos:
        raise RuntimeError(f"Ardour's scanner did not index the plug-in: {log[-400:]}")
    return env, infos[0]["name"]


def export(ardour, env, name, preset, rate, treble, tmp, timeout):
    folder = os.path.join(tmp, f"export-{rate}-{treble}")
    os.makedirs(folder)
    session_env = dict(env, SESSION_DIR=os.path.join(tmp, f"session-{rate}-{treble}"),
                       PLUGIN_NAME=name, RATE=str(rate), TREBLE=treble, SECONDS=str(SECONDS),
                       PRESET=preset, OUT_DIR=folder)
    code, log = ardour.run([ardour.LUA, os.path.join(HERE, "ardour_automation.lua")], session_env,
                           timeout, tmp)
    records = [line.split("\t") for line in log.splitlines()]
    errors = ["\t".join(r[1:]) for r in records if r[0] == "ERROR"]
    files = glob.glob(os.path.join(folder, "**", "*.wav"), recursive=True)
    if code != 0 or errors or len(files) != 1:
        raise RuntimeError(f"Treble {treble} at {rate} Hz: " + ("; ".join(errors) or log[-400:]))
    samples, rate = soundfile.read(files[0], always_2d=True)
    return samples[int(SKIP_SECONDS * rate):, 0]


def peak(samples):
    return np.max(np.abs(samples))


def decibels(value):
    return 20.0 * math.log10(value)


def judge(held, automated, bound):
    """Returns (ok, report) for the held exports (Treble value -> samples) and
    the automated one."""
    loudest = max(peak(s) for s in held.values())
    excess = decibels(peak(automated) / loudest)
    report = ("held Treble " + ", ".join(f"{t}: {decibels(peak(s)):+.2f} dBFS" for t, s in held.items())
              + f"; automated: {decibels(peak(automated)):+.2f} dBFS ({excess:+.2f} dB)")
    if loudest <= 1.05 * min(peak(s) for s in held.values()):
        return False, report + "; the held settings all peak alike: the knob is not heard"
    if any(peak(np.subtract(automated, s)) <= 1e-3 for s in held.values()):
        return False, report + "; the automated export equals a held one: the lane was not played"
    if excess > bound:
        return False, report + f"; above the loudest held setting by more than {bound} dB"
    return True, report


def check(ardour, plugin, out, rate, bound, timeout):
    tmp = os.path.join(out, f"ardour-automation-{rate}")
    os.makedirs(tmp)
    env, name = scan(ardour, plugin, tmp, timeout)
    preset = install_float_preset(env)
    held = {t: export(ardour, env, name, preset, rate, t, tmp, timeout) for t in HELD}
    automated = export(ardour, env, name, preset, rate, "automated", tmp, timeout)
    ok, report = judge(held, automated, bound)
    print(f"{'ok' if ok else 'FAIL'} Ardour at {rate} Hz, 397 Hz sine at -18 dBFS: {report}")
    return ok


def main(argv=None):
    ap = checks.argument_parser(__doc__)
    ap.add_argument("hosts")
    ap.add_argument("plugin")
    ap.add_argument("out")
    ap.add_argument("--rate", type=int, action="append")
    ap.add_argument("--bound", type=float, default=1.0)
    ap.add_argument("--timeout", type=float, default=120.0)
    args = ap.parse_args(argv)
    sys.path.insert(0, os.path.join(args.hosts, "lib"))
    import ardour_scan  # noqa: E402  (the shared harness's Ardour helpers)
    from harness_common import HarnessError  # noqa: E402
    try:
        results = [check(ardour_scan, os.path.abspath(args.plugin), os.path.abspath(args.out),
                         rate, args.bound, args.timeout)
                   for rate in args.rate or [48000, 96000]]
    except (RuntimeError, HarnessError) as e:
        print(f"FAIL {e}", file=sys.stderr)
        return 1
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
