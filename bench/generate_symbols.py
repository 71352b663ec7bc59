#!/usr/bin/env python3
"""Writes a symbol-heavy Zolt source and a numeric twin of the same size.

symbols: LABELS label lines, each followed by a jump to a label (every label referenced once,
half of them forward), and CONSTANTS constants, each loaded once. Names are in mixed letter
case, written one way where defined and another where referenced, so every lookup folds case.
numeric: the same instructions with numbers for operands, and comment lines where the symbol
source defines labels and constants.

usage: generate_symbols.py LABELS CONSTANTS SYMBOLS_OUT NUMERIC_OUT
"""
import sys


def mixed(name, flip):
    return "".join(c.upper() if (i + flip) % 2 else c.lower() for i, c in enumerate(name))


def main():
    labels, constants = int(sys.argv[1]), int(sys.argv[2])
    symbols, numeric = [], []
    for k in range(constants):
        name = f"limit{k}"
        symbols.append(f".c {mixed(name, 0)}=${k & 0xFFFF:04x}")
        numeric.append(f"; {mixed(name, 0)}=${k & 0xFFFF:04x}")
    for k in range(labels):
        # Reference the label half the table away: forward for the first half, back after it.
        target = (k + labels // 2) % labels
        symbols.append(f"{mixed(f'entry{k}', 0)}:")
        numeric.append(f";{mixed(f'entry{k}', 0)}")
        symbols.append(f"\tjmp /{mixed(f'entry{target}', 1)}")
        numeric.append(f"\tjmp ${2 * target + 2 * min(target, constants):04x}")
        if k < constants:
            symbols.append(f"\tlda \\{mixed(f'limit{k}', 1)}")
            numeric.append(f"\tlda ${k & 0xFFFF:04x}")
    with open(sys.argv[3], "w") as out:
        out.write("\n".join(symbols) + "\n")
    with open(sys.argv[4], "w") as out:
        out.write("\n".join(numeric) + "\n")


if __name__ == "__main__":
    main()
