#!/usr/bin/env python3
"""Stands in for zolt in the editor tests until the real program is there.

zolt check FILE...  prints zolt_check_output.txt (diagnostics in the form zolt check uses) and
                    exits with status 1, as after an error.
Every command line is appended to $ZOLT_FAKE_LOG.
"""
import os
import sys
from pathlib import Path


def log(text):
    with open(os.environ.get("ZOLT_FAKE_LOG", os.devnull), "a") as f:
        f.write(text + "\n")


def main():
    log(" ".join(sys.argv[1:]))
    if sys.argv[1:2] == ["check"]:
        sys.stdout.write((Path(__file__).parent / "zolt_check_output.txt").read_text())
        return 1
    return 2


if __name__ == "__main__":
    sys.exit(main())
