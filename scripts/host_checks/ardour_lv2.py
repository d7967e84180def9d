#!/usr/bin/python3
"""ardour_lv2.py BUNDLE OUTDIR

Ardour 7 with the pedal's LV2 bundle, headless (ardour7-lua on the Dummy back-end,
whose input is a -18 dBFS sine), in two runs of scripts/host_checks/
ardour_lv2_session.lua:
  create: a new session loads the plug-in by its URI onto a mono track, sets Level
          to 1 (the output must rise by the Level taper's ratio), then Gain, Treble
          and CabSim, each by port symbol; bypasses it with Ardour's own switch (the
          host's enable port must go to 0 and the dry sine come through); exports
          two seconds and saves;
  reload: the saved session is loaded again: the values must be those set, in the
          session file by symbol and in the plug-in; it exports again.
The Dummy back-end gives each new port a sine of another period, so the two runs
play different notes: their exports are each checked for sound, not compared.
Prints one line per check, "ok" or "FAIL"; exits 1 on any FAIL. Logs go to OUTDIR.
"""
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import numpy as np
import soundfile

import checks

HERE = os.path.dirname(os.path.abspath(__file__))

PLUGIN_URI = "urn:orveton:murkfell"
NAME, MAKER = "Orveton Murkfell", "Orveton"
CONTROLS = ["Gain", "Bass", "Middle", "Treble", "Level", "CabSim", "Bypass", "Enabled"]
TOGGLES = {"CabSim", "Bypass", "Enabled"}
# First Level alone, then the rest, Level back below clipping; values by port symbol.
STEPS = [{"level": 1.0}, {"gain": 0.8, "treble": 0.3, "cabsim": 0.0, "level": 0.6}]
LEVEL_RISE_DB = 20 * math.log10(1.0 / 0.21975)  # the Level taper at 1 against 0.5
DRY_DB = -18.0                                   # the Dummy back-end's sine
TOLERANCE_DB = 0.1
ARDOUR_LIB = "/usr/lib/ardour7"
LUA = "/usr/bin/ardour7-lua"


def float32(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def port_symbols(env):
    """{symbol: port index} as lilv (which Ardour uses) reads the bundle."""
    text = subprocess.run(["lv2info", PLUGIN_URI], env=env, capture_output=True, text=True,
                          check=True, timeout=60).stdout
    return {symbol: int(index) for index, symbol in
            re.findall(r"Port (\d+):.*?Symbol:\s+(\S+)", text, re.S)}


def records(text):
    return [line.split("\t") for line in text.splitlines() if "\t" in line]


def run_phase(phase, env, outdir, timeout):
    env = dict(env, CHECK_PHASE=phase)
    log = os.path.join(outdir, f"ardour-lv2-{phase}.log")
    with open(log, "w") as f:
        p = subprocess.Popen([LUA, os.path.join(HERE, "ardour_lv2_session.lua")], env=env,
                             stdout=f, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                             start_new_session=True)
        try:
            p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(p.pid, 9)
            p.wait()
            raise RuntimeError(f"ardour7-lua ({phase}) did not finish within {timeout} s; see {log}")
    with open(log, errors="replace") as f:
        found = records(f.read())
    errors = [r for r in found if r[0] == "ERROR"]
    if errors:
        raise RuntimeError(f"Ardour ({phase}): {errors[0][1]}")
    return found


def saved_ports(session_file):
    """{symbol: value} of the LV2 plug-in's ports as the session file keeps them."""
    root = ET.parse(session_file).getroot()
    for processor in root.iter("Processor"):
        if processor.get("type") == "lv2" and processor.get("unique-id") == PLUGIN_URI:
            return {port.get("symbol"): float(port.get("value")) for port in processor.iter("Port")
                    if port.get("symbol")}
    return {}


def export_summary(folder, name):
    """(seconds, peak in dBFS) of an export."""
    samples, rate = soundfile.read(os.path.join(folder, name + ".wav"), always_2d=True)
    peak = np.abs(samples).max(initial=0.0)
    return len(samples) / rate, 20 * math.log10(max(peak, 1e-12))


def check(args):
    tmp = tempfile.mkdtemp(prefix="ardour-lv2.")
    try:
        home = os.path.join(tmp, "home")
        lv2_dir = os.path.join(tmp, "lv2")
        export_dir = os.path.join(args.outdir, "ardour-lv2-export")
        shutil.rmtree(export_dir, ignore_errors=True)
        for folder in (home, lv2_dir, export_dir):
            os.makedirs(folder)
        os.symlink(os.path.abspath(args.bundle), os.path.join(lv2_dir, "murkfell.lv2"))
        env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_") and k != "DISPLAY"}
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"),
                   XDG_DATA_HOME=os.path.join(home, ".local", "share"), LV2_PATH=lv2_dir,
                   LD_LIBRARY_PATH=ARDOUR_LIB, CHECK_PLUGIN_URI=PLUGIN_URI,
                   CHECK_SESSION_DIR=os.path.join(tmp, "session"), CHECK_EXPORT_DIR=export_dir)
        ports = port_symbols(env)
        env["CHECK_STEPS"] = "|".join(",".join(f"{ports[s]}={v}" for s, v in step.items())
                                      for step in STEPS)
        wanted = {s: float32(v) for step in STEPS for s, v in step.items()}  # the last value

        created = run_phase("create", env, args.outdir, args.timeout)
        saved = saved_ports(os.path.join(tmp, "session", "pedal.ardour"))
        reloaded = run_phase("reload", env, args.outdir, args.timeout)
        return judge(created, reloaded, saved, ports, wanted, export_dir)
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


def judge(created, reloaded, saved, ports, wanted, export_dir):
    results = []

    def item(ok, text):
        results.append((bool(ok), text))

    info = {r[1]: r[2] for r in created if r[0] == "INFO"}
    item((info.get("name"), info.get("maker"), info.get("uri")) == (NAME, MAKER, PLUGIN_URI),
         f"Ardour loaded {info.get('name')!r} by {info.get('maker')!r} from {info.get('uri')}")
    params = [r for r in created if r[0] == "PARAM"]
    labels = [p[3] for p in params]
    toggles = {p[3] for p in params if p[7] == "true"}
    item(labels == CONTROLS and toggles == TOGGLES,
         f"controls {', '.join(labels)}; toggles {', '.join(sorted(toggles))}")

    levels = {r[1]: float(r[2]) for r in created if r[0] == "LEVEL"}
    rise = levels.get("step1", -math.inf) - levels.get("create", math.inf)
    item(abs(rise - LEVEL_RISE_DB) <= 0.25,
         f"Level 0.5 -> 1 raised the peak by {rise:.2f} dB (the taper says {LEVEL_RISE_DB:.2f})")
    sets = [r for r in created if r[0] == "SET"]
    port_symbol = {index: symbol for symbol, index in ports.items()}
    # Ardour prints doubles to 14 digits: compare as the floats the ports hold.
    read_back = {port_symbol[int(r[1])]: float32(float(r[4])) for r in sets}
    item(all(r[3] == "true" for r in sets) and read_back == wanted,
         "set by symbol and read back: " + ", ".join(f"{s}={v:g}" for s, v in read_back.items()))

    bypass = next((r for r in created if r[0] == "BYPASS"), None)
    if bypass is None:
        item(False, "Ardour's bypass was not tried")
    else:
        values = dict(pair.split("=") for pair in bypass[3].split(","))
        enabled_port = float(values.get(str(ports["enabled"]), "nan"))
        bypassed_db = float(bypass[2])
        item(bypass[1] == "false" and enabled_port == 0.0 and abs(bypassed_db - DRY_DB) <= TOLERANCE_DB,
             f"Ardour's own bypass set the enable port to {enabled_port:g}; the track then "
             f"peaks at {bypassed_db:.3f} dB, the dry sine's {DRY_DB:g} dB")

    item(all(float32(saved.get(s, math.nan)) == v for s, v in wanted.items()),
         "the saved session keeps the ports by symbol: "
         + ", ".join(f"{s}={saved.get(s)}" for s in wanted))
    reloaded_values = {port_symbol[int(p[2])]: float32(float(p[8])) for p in reloaded
                       if p[0] == "PARAM"}
    item(all(reloaded_values.get(s) == v for s, v in wanted.items()),
         "reloaded values: " + ", ".join(f"{s}={reloaded_values.get(s)}" for s in wanted))

    for phase in ("create", "reload"):
        seconds, peak = export_summary(export_dir, "pedal-" + phase)
        item(seconds == 2.0 and DRY_DB < peak < -0.5,
             f"export after {phase}: {seconds:g} s peaking at {peak:.2f} dBFS (the pedal's gain "
             f"over the dry sine, below clipping)")
    return results


def main(argv=None):
    ap = checks.argument_parser(__doc__)
    ap.add_argument("bundle")
    ap.add_argument("outdir")
    ap.add_argument("--timeout", type=float, default=120.0)
    args = ap.parse_args(argv)
    os.makedirs(args.outdir, exist_ok=True)
    try:
        results = check(args)
    except (RuntimeError, OSError, KeyError, subprocess.SubprocessError, ET.ParseError) as e:
        print(f"FAIL {e}")
        return 1
    return checks.report(results)


if __name__ == "__main__":
    sys.exit(main())
