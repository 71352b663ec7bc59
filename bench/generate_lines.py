#!/usr/bin/env python3
"""Writes a source of about SIZE megabytes of comment and instruction lines that assembles from
the first line to the last: every block of instructions is followed by a .rel back to where it
started, so the address never nears the word limit.
usage: generate_lines.py SIZE_MB OUT"""
import sys

block = (
    "; a comment line of ordinary length, as a listing would have it\n"
    "\tlda $1234\t; load\n"
    "\tsta $0100\n"
    "\tnop\n"
    "\tjmp $0000\n"
    ".rel -7\n"
)
size = int(float(sys.argv[1]) * 1024 * 1024)
with open(sys.argv[2], "w") as out:
    chunk = block * 1000
    written = 0
    while written < size:
        out.write(chunk)
        written += len(chunk)
