#!/usr/bin/python3
"""vector_units_as_on_linux.py --wine WINE --windows circuit_tests.exe --linux circuit_tests

Runs the circuit suite in both builds on this machine. Its tests force every
vector unit the loop has and compare each with the plain evaluation; a unit the
CPU (or the system) cannot run is skipped. Under Wine the Windows build must
run everything the Linux build runs here, skip nothing more, and pass.
"""
import argparse
import os
import re
import subprocess
import sys


def outcome(command, env=None):
    result = subprocess.run(command, capture_output=True, text=True, env=env)
    ran = set(re.findall(r"^\[\s+OK \] (\S+)", result.stdout, re.M))
    skipped = set(re.findall(r"^\[\s+SKIPPED \] (\S+)", result.stdout, re.M))
    return result.returncode, ran, skipped


def main():
    parser = argparse.ArgumentParser()
    for option in ("--wine", "--windows", "--linux"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    linux_code, linux_ran, linux_skipped = outcome([args.linux])
    windows_code, windows_ran, windows_skipped = outcome(
        [args.wine, args.windows], dict(os.environ, WINEDEBUG="-all"))
    print(f"Linux: {len(linux_ran)} ran, skipped {sorted(linux_skipped) or 'none'}")
    print(f"Windows under Wine: {len(windows_ran)} ran, skipped {sorted(windows_skipped) or 'none'}")
    for name in sorted(n for n in windows_ran if "Loop" in n or "Golden" in n):
        print(f"  ran under Wine: {name}")
    if linux_code != 0 or not linux_ran:
        print("the Linux suite did not pass")
        return 1
    if windows_code != 0 or windows_ran != linux_ran or windows_skipped != linux_skipped:
        print("the Windows build did not run the same tests as the Linux build")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
