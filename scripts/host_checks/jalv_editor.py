#!/usr/bin/python3
"""jalv_editor.py --hosts-lib DIR BUNDLE PANEL_BYPASSED.png PANEL_ACTIVE.png OUTDIR

Shows the pedal's LV2 editor in jalv.gtk3 (Debian's reference LV2 host, which
embeds X11 editors in GTK through suil) on a virtual X server, with a JACK server
on its dummy driver for the audio. jalv starts the pedal with Bypass on; then:
  1. the screenshot must hold the bypassed panel (dark lamp), pixel for pixel, at
     the origin of the editor's own X window inside jalv's window;
  2. a click on the footswitch there must turn it into the active panel (lit lamp).
Both panels are drawn off-screen by murkfell-render --snapshot. Screenshots and
logs go to OUTDIR. Prints one line per check, "ok" or "FAIL"; exits 1 on any FAIL.
"""
import os
import subprocess
import sys
import time

import checks
from find_panel import MIN_FRACTION, find, load_rgba

PLUGIN_URI = "urn:orveton:murkfell"
WINDOW_TITLE = "Orveton Murkfell"
EDITOR_SIZE = (340, 400)
FOOTSWITCH = (170, 295)
TOLERANCE = 16
TIMEOUT = 30.0


def panel_at(screen_png, panel_png, where):
    """(ok, text): the panel is in the screenshot, nearly exactly, at `where`, the
    origin of the editor's window. Only the window's surroundings are searched."""
    margin = 16
    panel = load_rgba(panel_png)
    left, top = max(where[0] - margin, 0), max(where[1] - margin, 0)
    around = load_rgba(screen_png)[top:top + panel.shape[0] + 2 * margin,
                                   left:left + panel.shape[1] + 2 * margin]
    best = find(around, panel, TOLERANCE)
    if best is None:
        return False, f"{os.path.basename(panel_png)} is not in the editor's window"
    found = (best["x"] + left, best["y"] + top)
    ok = best["near"] >= MIN_FRACTION and found == where
    return ok, (f"{os.path.basename(panel_png)} found at {found}, the editor window's origin "
                f"{where}: {100 * best['near']:.3f}% of its pixels within {TOLERANCE}, "
                f"{100 * best['exact']:.3f}% exact")


def wait_for(condition, what, timeout=TIMEOUT):
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = condition()
        if found:
            return found
        time.sleep(0.3)
    raise RuntimeError(f"{what} within {timeout:.0f} s")


def run(args, hc, ei):
    tmp = hc.make_tmpdir("jalv-editor.")
    procs = []
    try:
        home = os.path.join(tmp, "home")
        lv2_dir = os.path.join(tmp, "lv2")
        os.makedirs(home)
        os.makedirs(lv2_dir)
        os.symlink(os.path.abspath(args.bundle), os.path.join(lv2_dir, "murkfell.lv2"))
        # A screen little larger than jalv's window keeps the screenshots quick to search.
        xvfb = hc.Xvfb(tmp, size="640x480x24")
        server = f"murkfell-check-{os.getpid()}"
        env = {k: v for k, v in os.environ.items() if not k.startswith(("XDG_", "DBUS_"))}
        env.update(HOME=home, DISPLAY=xvfb.display, LV2_PATH=lv2_dir, JACK_DEFAULT_SERVER=server,
                   JACK_NO_AUDIO_RESERVATION="1", NO_AT_BRIDGE="1")
        procs.append(hc.Proc(["jackd", "-n", server, "-r", "-d", "dummy", "-r", "48000",
                              "-p", "1024"], env=env, log_path=os.path.join(args.outdir, "jackd.log")))
        subprocess.run(["jack_wait", "-s", server, "-w", "-t", str(int(TIMEOUT))], env=env,
                       check=True, timeout=TIMEOUT + 5, stdout=subprocess.DEVNULL)
        jalv_log = os.path.join(args.outdir, "jalv.log")
        jalv = hc.Proc(["jalv.gtk3", "-c", "bypass=1", PLUGIN_URI], env=env,
                       log_path=jalv_log)
        procs.append(jalv)

        def jalv_window():
            if not jalv.alive():
                raise RuntimeError(f"jalv.gtk3 exited (code {jalv.p.returncode}); see {jalv_log}")
            return next((w for w, t in hc.visible_windows(xvfb.display) if t == WINDOW_TITLE), None)

        window = wait_for(jalv_window, f"no window '{WINDOW_TITLE}' from jalv.gtk3")
        editor = ei.find_editor(xvfb.display, window, EDITOR_SIZE, timeout=TIMEOUT)
        origin = (editor["x"], editor["y"])
        results = [(True, f"jalv.gtk3 embeds the editor: window 0x{editor['id']:x}, "
                          f"{editor['w']}x{editor['h']} at {origin} ({editor['found_by']})")]

        ei.wait_stable(xvfb.display, editor)
        before = os.path.join(args.outdir, "jalv-bypassed.png")
        hc.screenshot(xvfb.display, before)
        results.append(panel_at(before, args.bypassed, origin))

        ei.perform(xvfb.display, {"kind": "click", "points": [FOOTSWITCH]}, origin)
        ei.wait_stable(xvfb.display, editor)
        after = os.path.join(args.outdir, "jalv-footswitch-clicked.png")
        hc.screenshot(xvfb.display, after)
        ok, text = panel_at(after, args.active, origin)
        results.append((ok, "after a click on the footswitch: " + text))
        return results
    finally:
        for proc in reversed(procs):
            proc.stop()
        if "xvfb" in locals():
            xvfb.stop()
        hc.remove_tmpdir(tmp)


def main(argv=None):
    ap = checks.argument_parser(__doc__)
    ap.add_argument("--hosts-lib", required=True, help="the host harnesses' lib/ folder")
    ap.add_argument("bundle")
    ap.add_argument("bypassed", help="the panel with Bypass on (dark lamp)")
    ap.add_argument("active", help="the panel with Bypass off (lit lamp)")
    ap.add_argument("outdir")
    args = ap.parse_args(argv)
    sys.path.insert(0, args.hosts_lib)
    import editor_input as ei
    import harness_common as hc
    os.makedirs(args.outdir, exist_ok=True)
    try:
        results = run(args, hc, ei)
    except (RuntimeError, OSError, subprocess.SubprocessError, hc.HarnessError) as e:
        print(f"FAIL {e}")
        return 1
    return checks.report(results)


if __name__ == "__main__":
    sys.exit(main())
