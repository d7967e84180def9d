#!/usr/bin/python3
"""audacity_lv2.py --hosts-lib DIR BUNDLE IN.wav OUT.wav

Renders IN.wav through the pedal's LV2 bundle in a real, headless Audacity (Debian's
3.2.4) with the pedal's default settings and writes OUT.wav (32-bit float). It
reuses the host harnesses' Audacity session (fresh HOME, Xvfb, mod-script-pipe) and
puts the bundle first on LV2_PATH. Audacity 3.2.4 ignores the controls given to a
scripted LV2 effect, as it does for VST 2.4 effects, so the render uses the
defaults, and the values Audacity saved for the effect must be those defaults.
Prints one line per step, "ok" or "FAIL"; exits 1 on any FAIL.
"""
import os
import sys

import checks

PLUGIN_URI = "urn:orveton:murkfell"
LV2_VOCABULARIES = "/usr/lib/lv2"
DEFAULTS = {"Gain": 0.5, "Bass": 0.5, "Middle": 0.5, "Treble": 0.5, "Level": 0.5, "CabSim": 1.0,
            "Bypass": 0.0}


def render(args, ad, hc):
    class LV2Run(ad.Run):
        """The harness's run with the bundle on LV2_PATH instead of a VST link."""

        def setup(self):
            self.desc = {"vendor": "none"}  # names the (unused) VST settings group
            self.take_lock()
            self.write_config()
            os.makedirs(self.vstdir)
            self.vst_path = self.vstdir
            self.plugin_link = None
            # Not "lv2": Audacity 3.2.4 crashes at start-up when its working folder
            # (the run's folder) holds a folder of that name with a bundle in it.
            self.lv2_dir = os.path.join(self.tmp, "bundles")
            os.makedirs(self.lv2_dir)
            os.symlink(self.plugin, os.path.join(self.lv2_dir, "murkfell.lv2"))
            self.xvfb = hc.Xvfb(self.tmp)
            self.display = self.xvfb.display

        def env(self):
            return dict(super().env(), LV2_PATH=self.lv2_dir + ":" + LV2_VOCABULARIES)

    run = LV2Run(args.bundle, timeout=args.timeout)
    results = []
    try:
        run.setup()
        session = run.session("lv2-render")
        registry = ad.parse_wx_config(os.path.join(run.cfgdir, "pluginregistry.cfg"))
        entry = next((kv for group, kv in registry.items()
                      if group.startswith("pluginregistry/Effect/") and kv.get("Path") == PLUGIN_URI),
                     None)
        if entry is None:
            raise hc.HarnessError("Audacity did not register the LV2 plug-in as an effect")
        results.append((entry.get("Valid") != "0" and entry.get("Enabled") != "0",
                        f"Audacity registered {entry.get('Name')!r} by {entry.get('Vendor')!r} "
                        f"({entry.get('EffectFamily')}, {entry.get('EffectType')})"))
        output = os.path.abspath(args.output)
        if os.path.exists(output):
            os.unlink(output)
        session.must(f'Import2: Filename="{os.path.abspath(args.input)}"')
        session.must("SelectAll:")
        # Audacity names an effect's script command after its name without spaces.
        command = entry.get("Name", "").replace(" ", "")
        session.must(f"{command}:", timeout=run.timeout)
        session.must(f'Export2: Filename="{output}" NumChannels=1', timeout=run.timeout)
        session.quit()
        applied = run.saved_parameters(entry) or {}
        results.append((all(float(applied.get(k, "nan")) == v for k, v in DEFAULTS.items()),
                        "Audacity applied " + ", ".join(f"{k}={applied.get(k)}" for k in DEFAULTS)))
        results.append((os.path.exists(output), f"Audacity exported {os.path.basename(output)}"))
        return results
    finally:
        run.close()
        hc.remove_tmpdir(run.tmp, keep=bool(os.environ.get("HARNESS_KEEP_TMP")))


def main(argv=None):
    ap = checks.argument_parser(__doc__)
    ap.add_argument("--hosts-lib", required=True, help="the host harnesses' lib/ folder")
    ap.add_argument("--timeout", type=float, default=180.0)
    ap.add_argument("bundle")
    ap.add_argument("input")
    ap.add_argument("output")
    args = ap.parse_args(argv)
    args.bundle = os.path.abspath(args.bundle)
    sys.path.insert(0, args.hosts_lib)
    import audacity_driver as ad
    import harness_common as hc
    try:
        results = render(args, ad, hc)
    except (hc.HarnessError, OSError, ValueError) as e:
        print(f"FAIL {e}")
        return 1
    return checks.report(results)


if __name__ == "__main__":
    sys.exit(main())
