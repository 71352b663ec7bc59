#!/usr/bin/env python3
"""Writes sources whose label names all share the low 17 bits of their hash under an unkeyed
FNV-1a (32-bit) over the names folded to lower case: the names an attacker could craft against
a symbol index without a secret key. Beside each, a source of random names of the same length.

usage: generate_crafted.py LABELS REFERENCES OUT_CRAFTED OUT_RANDOM
  LABELS label lines, then REFERENCES data words referring to the last label."""
import random
import sys

BITS = 17
MASK = (1 << BITS) - 1
PRIME = 16777619
INVERSE = pow(PRIME, -1, 1 << BITS)
BASIS = 2166136261 & MASK
TARGET = 0x0ACE5 & MASK
# Bytes that end or change a name nowhere: no separators, no ":", no line ends, no NUL, and no
# capital letters, since the hash sees them folded.
FREE = [b for b in range(1, 256)
        if b not in b"\t\n\r ;:/\\" and not (ord("A") <= b <= ord("Z"))]
LETTERS = [b for b in b"abcdefghijklmnopqrstuvwxyz0123456789"]


def step(state, byte):
    return ((state ^ byte) * PRIME) & MASK


def crafted(index):
    """A 10-byte name: 7 bytes of prefix, then two free bytes and a last one that lands the
    hash's low bits on TARGET."""
    prefix = b"n%06d" % index
    state = BASIS
    for byte in prefix:
        state = step(state, byte)
    need = (TARGET * INVERSE) & MASK  # the state before the last byte, xor'ed with it
    for first in LETTERS:
        after_first = step(state, first)
        for second in FREE:
            before_last = step(after_first, second)
            last = before_last ^ need
            if last < 256 and last in FREE:
                return prefix + bytes([first, second, last])
    raise SystemExit(f"no name found for {index}")


def write(path, names, references):
    with open(path, "wb") as out:
        for name in names:
            out.write(name + b":\n")
        for _ in range(references):
            out.write(b".d /" + names[-1] + b"\n")
        out.write(b"; end\n")


labels, references = int(sys.argv[1]), int(sys.argv[2])
names = [crafted(i) for i in range(labels)]
rng = random.Random(1)
write(sys.argv[3], names, references)
write(sys.argv[4], [bytes(rng.choice(LETTERS) for _ in range(10)) for _ in range(labels)],
      references)
