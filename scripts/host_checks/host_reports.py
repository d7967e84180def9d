#!/usr/bin/python3
"""host_reports.py ardour SCAN.json | qtractor SCAN.txt

Reads what a host learnt about the plug-in (the JSON of the Ardour harness, run with
Level set to 1 as "5=1", or the Qtractor harness's report) and checks it against
the plug-in's identity. Prints one line per item, "ok" or "FAIL"; exits 1 on any FAIL.
"""
import json
import math
import sys

import checks

NAME = "Orveton Murkfell"
VENDOR = "Orveton"
UNIQUE_ID = 0x71326F39  # 'q2o9'
PARAMETERS = 9
LEVEL_INDEX = 5
# Level is a plain output gain: the audio taper gives 0.21975 at 0.5 and 1 at 1.0,
# so a linear output stage lifts every peak by the same ratio.
LEVEL_RISE_DB = 20 * math.log10(1.0 / 0.21975)
LEVEL_RISE_TOLERANCE_DB = 0.25


def _item(results, ok, text):
    results.append((bool(ok), text))


def check_ardour(report):
    """report: the parsed JSON of the Ardour harness. Returns [(ok, text)]."""
    results = []
    infos = report.get("scanner", {}).get("plugins", [])
    _item(results, len(infos) == 1, f"scanner indexed {len(infos)} plug-in(s) in the file")
    info = infos[0] if infos else {}
    _item(results, info.get("name") == NAME, f"scanner name {info.get('name')!r}")
    _item(results, info.get("creator") == VENDOR, f"scanner creator {info.get('creator')!r}")
    uid = info.get("id")
    _item(results, uid is not None and uid & 0xFFFFFFFF == UNIQUE_ID,
          f"scanner unique ID {info.get('id_fourcc')!r} "
          f"(0x{(uid or 0) & 0xFFFFFFFF:08X})")
    _item(results, (info.get("n_inputs"), info.get("n_outputs")) == (1, 1),
          f"scanner audio I/O {info.get('n_inputs')} in / {info.get('n_outputs')} out")
    _item(results, info.get("has_editor") is True, f"scanner editor flag {info.get('has_editor')}")

    session = report.get("session", {})
    meta, io = session.get("info", {}), session.get("io", {})
    _item(results, (meta.get("name"), meta.get("maker")) == (NAME, VENDOR),
          f"session instantiated {meta.get('name')!r} by {meta.get('maker')!r} "
          f"at {meta.get('sample_rate')} Hz")
    _item(results, (io.get("natural_in"), io.get("natural_out")) == (1, 1),
          f"session plug-in I/O {io.get('natural_in')} in / {io.get('natural_out')} out")
    params = session.get("params", [])
    _item(results, len(params) == PARAMETERS,
          f"session parameters {len(params)}: " + ", ".join(p["label"] or "''" for p in params))
    sets = session.get("sets", [])
    level_set = [s for s in sets if s["index"] == LEVEL_INDEX]
    _item(results, level_set and level_set[0]["accepted"] and level_set[0]["read_back"] == 1.0,
          "session set Level (#5) to 1: " + (f"accepted {level_set[0]['accepted']}, read back "
                                             f"{level_set[0]['read_back']}" if level_set else "not set"))
    levels = session.get("levels", {})
    before, after = levels.get("defaults"), levels.get("after_set")
    if before is None or after is None:
        _item(results, False, "session peak levels missing")
    else:
        rise = after - before
        _item(results, abs(rise - LEVEL_RISE_DB) <= LEVEL_RISE_TOLERANCE_DB,
              f"session peak {before:.2f} dBFS at defaults, {after:.2f} dBFS with Level 1: "
              f"{rise:+.2f} dB (expected {LEVEL_RISE_DB:+.2f} +- {LEVEL_RISE_TOLERANCE_DB})")
    return results


def check_qtractor(text):
    """text: the Qtractor harness's report. Returns [(ok, text)]."""
    raw = [ln.split(None, 1)[1] for ln in text.splitlines() if ln.strip().startswith("raw ")]
    if not raw:
        return [(False, "no scanner line in the Qtractor report")]
    # VST|name|ains:aouts|mins:mouts|params_in:params_out|flags|file|index|0xID
    fields = raw[0].strip().split("|")
    if len(fields) < 9:
        return [(False, f"short scanner line {raw[0].strip()!r}")]
    _, name, audio, _, controls, flags, _, _, uid = fields[:9]
    results = []
    _item(results, name == NAME, f"scanner name {name!r}")
    _item(results, audio == "1:1", f"scanner audio I/O {audio}")
    _item(results, controls == f"{PARAMETERS}:0", f"scanner parameters in:out {controls}")
    _item(results, {"GUI", "RT"} <= set(flags.split(",")), f"scanner flags {flags}")
    _item(results, int(uid, 16) == UNIQUE_ID, f"scanner unique ID {uid}")
    return results


def main(argv=None):
    argv = sys.argv[1:] if argv is None else argv
    if len(argv) != 2 or argv[0] not in ("ardour", "qtractor"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8", errors="replace") as f:
        text = f.read()
    try:
        results = check_ardour(json.loads(text)) if argv[0] == "ardour" else check_qtractor(text)
    except (ValueError, KeyError, TypeError) as e:
        results = [(False, f"unreadable {argv[0]} report: {e}")]
    return checks.report(results)


if __name__ == "__main__":
    sys.exit(main())
