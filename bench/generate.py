#!/usr/bin/env python3
"""Writes the benchmark sources.

  generate.py max FRACTION OUT         the largest program the image allows (about 65,500 words at
                                       FRACTION 1): instructions of one and two words, data words,
                                       strings, labels referred to forward and backward,
                                       constants and comments
  generate.py peer FRACTION DIR        the peer workload (10,000 constants and 20,000 labels at
                                       FRACTION 1) in Zolt, NASM and GNU as syntax:
                                       DIR/peer.asm, DIR/peer.nasm, DIR/peer.s
  generate.py comments MEGABYTES OUT   comment lines only
"""
import sys


def max_source(fraction, out):
    blocks = int(4090 * fraction)
    lines = ["; The largest program the image allows: blocks of 16 words each."]
    for k in range(blocks):
        forward = (k + 1) % blocks
        backward = max(k - 1, 0)
        lines += [
            f"; block {k}: load, store, jump ahead, branch back, a pointer and a string",
            f".c LIMIT{k}=${(k * 7919) & 0xFFFF:04x}",
            f"Block{k}:",
            f"\tlda \\limit{k}\t; the block's constant",
            "\tsta $0100",
            "\tnop",
            f"\tjmp /block{forward}",
            f"\tbne /BLOCK{backward}",
            f".d /Block{k}",
            '.z "Zolt!"',
        ]
    out.write("\n".join(lines) + "\n")


def peer_sources(fraction, directory):
    constants = int(10000 * fraction)
    labels = int(20000 * fraction)
    value = [(k * 7919 + 13) & 0xFFFF for k in range(constants)]
    zolt = [f".c C{k}=${value[k]:04x}" for k in range(constants)]
    nasm = [f"C{k} equ 0x{value[k]:04x}" for k in range(constants)]
    gas = [f"C{k} = 0x{value[k]:04x}" for k in range(constants)]
    gas.append("start:")
    for k in range(labels):
        target = (k + 7) % labels
        zolt += [f"L{k}:", f".d /L{target}"]
        nasm += [f"L{k}: dw (L{target}-$$)/2"]
        gas += [f"L{k}: .word (L{target}-start)/2"]
        if k % 2 == 0 and k // 2 < constants:
            zolt.append(f".d \\C{k // 2}")
            nasm.append(f"    dw C{k // 2}")
            gas.append(f"    .word C{k // 2}")
    for name, lines in (("peer.asm", zolt), ("peer.nasm", nasm), ("peer.s", gas)):
        with open(f"{directory}/{name}", "w") as out:
            out.write("\n".join(lines) + "\n")


def comments_source(megabytes, out):
    line = "; " + "a comment of ordinary length, the kind a listing is full of " + "\n"
    chunk = line * 10000
    for _ in range(int(megabytes * 1024 * 1024) // len(chunk)):
        out.write(chunk)


def main():
    kind, amount, target = sys.argv[1], float(sys.argv[2]), sys.argv[3]
    if kind == "peer":
        peer_sources(amount, target)
        return
    with open(target, "w") as out:
        (max_source if kind == "max" else comments_source)(amount, out)


if __name__ == "__main__":
    main()
