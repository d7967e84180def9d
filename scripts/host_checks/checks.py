"""What every checker here shares: a command line that shows the checker's own
description as its help, and the verdict printed one line per item."""
import argparse


def argument_parser(description):
    return argparse.ArgumentParser(description=description,
                                   formatter_class=argparse.RawDescriptionHelpFormatter)


def report(results):
    """Prints each (ok, text) as "ok text" or "FAIL text"; returns the exit
    status, 1 when any item failed."""
    for ok, text in results:
        print(f"{'ok' if ok else 'FAIL'} {text}")
    return 0 if all(ok for ok, _ in results) else 1
