#!/usr/bin/env python3
"""Writes fuzzer seeds: every source of the end-to-end cases and the examples, each behind a
first byte that picks the command line (see fuzz_assembler.cpp).
usage: make_seeds.py REPOSITORY OUTPUT_DIRECTORY"""
import pathlib
import sys

root, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
sources = [p.read_bytes() for p in (root / "examples").glob("*.asm")]
for case in (root / "tests" / "cases").rglob("*.case"):
    lines = case.read_text(encoding="latin-1").split("\n")
    current = None
    for line in lines:
        if line.startswith("--- "):
            if current is not None:
                sources.append("\n".join(current).encode("latin-1") + b"\n")
            current = [] if line.split()[1] == "source" else None
        elif current is not None:
            current.append(line)
    if current is not None:
        sources.append("\n".join(current).encode("latin-1") + b"\n")
for index, source in enumerate(sources):
    for shape in (1, 4, 5):
        (out / f"seed-{index}-{shape}").write_bytes(bytes([shape]) + source)
