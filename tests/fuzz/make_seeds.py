#!/usr/bin/env python3
"""Writes the fuzzers' seeds and dictionary.

assembler:    every source of the end-to-end cases and the examples, and sources that reach the
              top of memory (an address wrap, a high start, the word limit, a full image), each
              behind a first byte that picks the command line (see fuzz_assembler.cpp);
disassembler: CROM files of those cases' images and BIN pairs up to the full 65,536 words, the
              first two bytes the start address (see fuzz_disassembler.cpp).
The dictionary holds the directive names and every mnemonic, read from the code's own tables.

usage: make_seeds.py assembler|disassembler REPOSITORY SEED_DIRECTORY DICTIONARY_FILE"""
import json
import pathlib
import random
import re
import sys

target, root, out, dictionary = sys.argv[1], pathlib.Path(sys.argv[2]), \
    pathlib.Path(sys.argv[3]), pathlib.Path(sys.argv[4])
out.mkdir(parents=True, exist_ok=True)
rng = random.Random(20261211)


def case_sources():
    sources = [p.read_bytes() for p in (root / "examples").glob("*.asm")]
    for case in (root / "tests" / "cases").rglob("*.case"):
        current = None
        for line in case.read_text(encoding="latin-1").split("\n"):
            if line.startswith("--- "):
                if current is not None:
                    sources.append("\n".join(current).encode("latin-1") + b"\n")
                current = [] if line.split()[1] == "source" else None
            elif current is not None:
                current.append(line)
        if current is not None:
            sources.append("\n".join(current).encode("latin-1") + b"\n")
    return sources


def top_of_memory_sources():
    """Sources that take the fuzzer where small inputs never go."""
    filler = b"x" * 65530
    return [
        b".org $fff0\n\tlda /end\n\tjmp $fffe\n\tnop\n\tldbi 5\n.d /end\n.d \\k\n.c k=3\nend:\n",
        b".org $fff8\n.start\n.z 'wraps past the top'\n\tnop\n; end\n",
        b".org $8000\n.start\n.lim 20\n" + b"\tinc\n" * 30,
        b".lim 5\n" + b"\tnop\n" * 8 + b".cshow\n",
        b".s \"" + filler + b"\"\n\tlda 1\n\tnop\n; never read\n",
        b".org $0003\n.start\n.s \"" + filler + b"\"\n\thlt\n\tnop\n",
        b".cstart\n.s \"" + filler[:65533] + b"\"\n.cshow\n.free\n.lfree\n.addr\n",
        b".org $ffff\n\tjmp /a\na:\n.rel -1\n.align\n.rel +$10\n; end\n",
    ]


def words_to_crom(start, words):
    return b"".join(b"M%04x=%04x\n" % (start + k, w) for k, w in enumerate(words))


def words_to_pair(start, words):
    return bytes([start >> 8, start & 0xFF]) + b"".join(bytes([w >> 8, w & 0xFF]) for w in words)


def random_words(count):
    return [rng.randrange(0x102) if rng.random() < 0.6 else rng.randrange(0x10000)
            for _ in range(count)]


index = 0


def seed(data):
    global index
    (out / f"seed-{index}").write_bytes(data)
    index += 1


if target == "assembler":
    for source in case_sources() + top_of_memory_sources():
        for shape in (1, 4, 5):
            seed(bytes([shape]) + source)
elif target == "lsp":
    # Requests on the document that the fuzz target opens, framed, one after the other.
    def frame(body):
        data = json.dumps(body).encode()
        return b"Content-Length: %d\r\n\r\n" % len(data) + data
    doc = {"textDocument": {"uri": "untitled:f"}}
    requests = []
    for line in range(4):
        for character in range(0, 12, 3):
            where = dict(doc, position={"line": line, "character": character})
            for method in ("hover", "definition", "completion", "prepareRename"):
                requests.append({"jsonrpc": "2.0", "id": len(requests) + 2,
                                 "method": "textDocument/" + method, "params": where})
    requests.append({"jsonrpc": "2.0", "id": 99, "method": "textDocument/rename",
                     "params": dict(doc, position={"line": 1, "character": 1}, newName="top")})
    requests.append({"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
        "textDocument": {"uri": "untitled:f", "version": 2}, "contentChanges": [
            {"range": {"start": {"line": 2, "character": 1}, "end": {"line": 2, "character": 4}},
             "text": "foo"}]}})
    for k in range(0, len(requests), 8):
        seed(b"".join(frame(r) for r in requests[k:k + 8]))
    seed(frame({"jsonrpc": "2.0", "id": 100, "method": "shutdown"}) +
         frame({"jsonrpc": "2.0", "method": "exit"}))
else:
    for start, count in ((0, 16), (0xFFF0, 16), (0xFFFF, 1), (0, 300), (2, 65533), (0, 65536),
                         (1, 65535), (0x8000, 0x8000)):
        words = random_words(count)
        seed(words_to_pair(start, words))
        if count <= 3000:
            seed(words_to_crom(start, words))

table = (root / "src" / "isa" / "instruction_table.cpp").read_text()
mnemonics = re.findall(r'\{"([a-z0-9]+)", 0x', table)
directives_code = (root / "src" / "source" / "control_directives.cpp").read_text()
directives = re.findall(r'\{"([a-z]+)", [a-z]+\}', directives_code)
entries = ["." + name for name in directives] + [".d ", ".a ", ".z ", ".s ", ".c "]
entries += ["\t" + m + " " for m in mnemonics]
entries += ["$ffff", "$fff0", "%1", "/", "\\\\", ":", "AssembleAddress", "\\x0a", "\\x09;"]
if target == "disassembler":
    entries = ["M0000=", "Mfff0=", "Mffff=", "=00", "\\x00\\x3b", "\\xff\\xf0"]
if target == "lsp":
    entries = ["Content-Length: ", "\\x0d\\x0a\\x0d\\x0a", '"jsonrpc":"2.0"', '"id":', '"method":',
               '"params":', '"textDocument/', '"position":', '"line":', '"character":',
               '"range":', '"contentChanges":', '"newName":', 'null', '-1', '4294967296']
with dictionary.open("w") as file:
    for entry in entries:
        file.write('"' + entry.replace('"', '\\"') + '"\n')
