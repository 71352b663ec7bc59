#!/usr/bin/env python3
"""Fails when the includes of src/ form a cycle. A header and the .cpp of the same name are one
module, so a cycle through a header's implementation counts too. Prints the cycle it found.
usage: include_graph.py SRC_DIRECTORY"""
import pathlib
import re
import sys

src = pathlib.Path(sys.argv[1])
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
edges = {}
for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    module = str(path.relative_to(src).with_suffix(""))
    targets = edges.setdefault(module, set())
    for name in include.findall(path.read_text(encoding="utf-8")):
        target = str(pathlib.Path(name).with_suffix(""))
        if target != module and (src / name).exists():
            targets.add(target)

state = {}  # module -> 1 while on the path, 2 when done


def visit(module, path):
    state[module] = 1
    for target in sorted(edges.get(module, ())):
        if state.get(target) == 1:
            cycle = path[path.index(target):] + [target]
            sys.exit("include cycle: " + " -> ".join(cycle))
        if target not in state:
            visit(target, path + [target])
    state[module] = 2


for module in sorted(edges):
    if module not in state:
        visit(module, [module])
print(f"{len(edges)} modules, no include cycle")
