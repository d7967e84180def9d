"""The checks on what Ardour and Qtractor report: a faithful report passes, and each
way a host could see the plug-in wrongly fails the item that names it."""
import copy
import unittest

from host_reports import check_ardour, check_qtractor

NAMES = ["", "Gain", "Bass", "Middle", "Treble", "Level", "CabSim", "Bypass", "Led"]
ARDOUR = {
    "scanner": {"plugins": [{"name": "Orveton Murkfell", "creator": "Orveton", "id": 1899130681,
                             "id_fourcc": "q2o9", "n_inputs": 1, "n_outputs": 1,
                             "has_editor": True}]},
    "session": {
        "info": {"name": "Orveton Murkfell", "maker": "Orveton", "sample_rate": "48000"},
        "io": {"natural_in": 1, "natural_out": 1},
        "params": [{"index": i, "label": n} for i, n in enumerate(NAMES)],
        "sets": [{"index": 5, "value": 1.0, "accepted": True, "read_back": 1.0}],
        "levels": {"defaults": -40.40, "after_set": -27.24},
    },
}
QTRACTOR = ("Qtractor plug-in scanner (qtractor_plugin_scan):\n"
            "  name        'Orveton Murkfell'\n"
            "  raw         VST|Orveton Murkfell|1:1|0:0|9:0|GUI,RT|/x/murkfell.so|0|0x71326f39\n")


def failures(results):
    return [text for ok, text in results if not ok]


class ArdourReportTest(unittest.TestCase):
    def changed(self, edit):
        report = copy.deepcopy(ARDOUR)
        edit(report)
        return failures(check_ardour(report))

    def test_faithful_report_passes_every_item(self):
        results = check_ardour(ARDOUR)
        self.assertEqual(failures(results), [])
        self.assertGreaterEqual(len(results), 10)

    def test_each_wrong_finding_fails_its_own_item(self):
        cases = {
            "editor flag": lambda r: r["scanner"]["plugins"][0].update(has_editor=False),
            "unique ID": lambda r: r["scanner"]["plugins"][0].update(id=0x71326F38),
            "scanner audio I/O": lambda r: r["scanner"]["plugins"][0].update(n_outputs=2),
            "scanner creator": lambda r: r["scanner"]["plugins"][0].update(creator="Orveton "),
            "session parameters": lambda r: r["session"]["params"].pop(),
            "session instantiated": lambda r: r["session"]["info"].update(maker=""),
            "set Level": lambda r: r["session"]["sets"][0].update(accepted=False),
        }
        for item, edit in cases.items():
            with self.subTest(item):
                failed = self.changed(edit)
                self.assertEqual(len(failed), 1, failed)
                self.assertIn(item, failed[0])

    def test_level_must_rise_by_the_taper_ratio(self):
        for after in (-40.40, -34.38, -26.5):  # unchanged, +6 dB, 0.74 dB too much
            with self.subTest(after=after):
                failed = self.changed(lambda r: r["session"]["levels"].update(after_set=after))
                self.assertEqual(len(failed), 1)
                self.assertIn("with Level 1", failed[0])

    def test_report_without_a_session_fails(self):
        failed = self.changed(lambda r: r.pop("session"))
        self.assertTrue(any("peak levels missing" in f for f in failed))


class QtractorReportTest(unittest.TestCase):
    def test_faithful_report_passes(self):
        self.assertEqual(failures(check_qtractor(QTRACTOR)), [])

    def test_wrong_name_flags_or_missing_line_fail(self):
        for text, item in ((QTRACTOR.replace("|Orveton Murkfell|", "|Murkfell|"), "name"),
                           (QTRACTOR.replace("GUI,RT", "RT"), "flags"),
                           (QTRACTOR.replace("|9:0|", "|8:0|"), "parameters"),
                           ("ERROR: rejected\n", "no scanner line")):
            with self.subTest(item):
                failed = failures(check_qtractor(text))
                self.assertEqual(len(failed), 1, failed)
                self.assertIn(item, failed[0])


if __name__ == "__main__":
    unittest.main()
