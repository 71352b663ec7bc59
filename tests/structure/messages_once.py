#!/usr/bin/env python3
"""Fails when a message text is written in more than one place in src/: every text the programs
print or log stands once, next to the rule that emits it. Texts are string literals of three
words or more; comments are left out.
usage: messages_once.py SRC_DIRECTORY"""
import pathlib
import re
import sys

src = pathlib.Path(sys.argv[1])
literal = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
seen = {}
for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    for number, line in enumerate(path.read_text(encoding="utf-8").split("\n"), 1):
        code = line.lstrip()
        if code.startswith("//") or code.startswith("#include"):
            continue
        for text in literal.findall(code):
            if len(re.findall(r"[A-Za-z]{2,}", text)) >= 3:
                seen.setdefault(text, []).append(f"{path.relative_to(src)}:{number}")
twice = {text: places for text, places in seen.items() if len(places) > 1}
for text, places in sorted(twice.items()):
    print(f'"{text}" in {", ".join(places)}')
if twice:
    sys.exit(1)
print(f"{len(seen)} message texts, each written once")
