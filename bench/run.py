#!/usr/bin/env python3
"""Times zoltas as whole processes against its peers and the cost of just reading the input,
and prints one table: median, spread and peak resident memory of RUNS runs after a warm-up.

usage: run.py ZOLTAS [RUNS]

Rows:
  max        the largest program the image allows, log off and on, against wc -l on it
  peer       10,000 constants and 20,000 labels with data words referring to them, in Zolt,
             NASM (nasm -f bin) and GNU as (as + ld --oformat=binary) syntax; the three images
             are checked to be identical before anything is timed
  comments   100 MB of comment lines, against wc -l
  scale      max and peer at 1/8, 1/4, 1/2 and the full size, to show that time grows linearly
  tools      zolt check, zolt list and zolt symbols on the peer source, beside zoltas (when zolt
             is built next to zoltas)
  crafted    80,000 labels, and 10,000 labels with 200,000 references to the last, whose names
             share the low 17 bits of an unkeyed FNV-1a hash, against random names of the same
             length: zoltas's keyed index must take the same time for both
Also counts the write system calls of a run with the log on (strace -c), against its log lines.
"""
import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent


def measure(command, cwd):
    """Wall time in ms of one run of a command: a list of argument lists run one after the
    other, spawned directly (no shell) so that little but the programs is timed."""
    start = time.perf_counter()
    for argv in command:
        subprocess.run(argv, cwd=cwd, stdout=subprocess.DEVNULL, check=True)
    return (time.perf_counter() - start) * 1000


def peak_rss(command, cwd):
    """Peak resident memory in KiB of the largest program of the command, by /usr/bin/time."""
    peak = 0
    for argv in command:
        report = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, cwd=cwd,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                                check=True).stderr
        peak = max(peak, int(report.strip().splitlines()[-1]))
    return peak


def time_rows(rows, cwd, runs):
    """rows: (name, command); measured in turns so that load affects all alike."""
    for _, command in rows:
        measure(command, cwd)
    samples = {name: [] for name, _ in rows}
    for _ in range(runs):
        for name, command in rows:
            samples[name].append(measure(command, cwd))
    return {name: (statistics.median(samples[name]), min(samples[name]), max(samples[name]),
                   peak_rss(command, cwd))
            for name, command in rows}


def generate(kind, amount, target):
    subprocess.run([sys.executable, str(HERE / "generate.py"), kind, str(amount), str(target)],
                   check=True)


def check_peer_images(work):
    flat = (work / "peer.nasm.bin").read_bytes()
    if flat != (work / "peer.gas.bin").read_bytes():
        sys.exit("NASM and GNU as images differ")
    if (work / "HI_peer.bin").read_bytes() != flat[1::2] or \
            (work / "LO_peer.bin").read_bytes() != flat[0::2]:
        sys.exit("the Zolt image differs from the peers'")


def main():
    zoltas = str(pathlib.Path(sys.argv[1]).resolve())
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 11
    work = pathlib.Path(tempfile.mkdtemp(prefix="zoltas-bench-"))
    try:
        generate("max", 1, work / "max.asm")
        generate("peer", 1, work)
        generate("comments", 100, work / "comments.asm")
        for fraction in (0.125, 0.25, 0.5):
            generate("max", fraction, work / f"max-{fraction}.asm")
            sub = work / f"peer-{fraction}"
            sub.mkdir()
            generate("peer", fraction, sub)

        for labels, references in ((80000, 0), (10000, 200000)):
            subprocess.run([sys.executable, str(HERE / "generate_crafted.py"), str(labels),
                            str(references), str(work / f"crafted-{labels}.asm"),
                            str(work / f"random-{labels}.asm")], check=True)

        nasm = [["nasm", "-f", "bin", "peer.nasm", "-o", "peer.nasm.bin"]]
        gas = [["as", "peer.s", "-o", "peer.o"],
               ["ld", "--oformat=binary", "-Ttext=0", "-e", "0", "peer.o", "-o", "peer.gas.bin"]]
        zolt_peer = [[zoltas, "peer.asm", "peer.bin"]]
        for command in (nasm, gas, zolt_peer):
            measure(command, work)
        check_peer_images(work)

        main_rows = [
            ("max, log off", [[zoltas, "max.asm", "max.rom", "rom"]]),
            ("max, log on", [[zoltas, "max.asm", "max.rom", "rom", "log"]]),
            ("max: wc -l", [["wc", "-l", "max.asm"]]),
            ("peer: zoltas", zolt_peer),
            ("peer: GNU as + ld", gas),
            ("peer: NASM", nasm),
            ("comments: zoltas", [[zoltas, "comments.asm", "comments.rom", "rom"]]),
            ("comments: wc -l", [["wc", "-l", "comments.asm"]]),
            ("crafted: 80k labels", [[zoltas, "crafted-80000.asm", "c.rom", "rom"]]),
            ("random: 80k labels", [[zoltas, "random-80000.asm", "c.rom", "rom"]]),
            ("crafted: 10k + 200k refs", [[zoltas, "crafted-10000.asm", "c.rom", "rom"]]),
            ("random: 10k + 200k refs", [[zoltas, "random-10000.asm", "c.rom", "rom"]]),
        ]
        zolt = pathlib.Path(zoltas).with_name("zolt")
        if zolt.exists():
            main_rows += [
                ("tools: zoltas on peer", zolt_peer),
                ("tools: zolt check", [[str(zolt), "check", "peer.asm"]]),
                ("tools: zolt list", [[str(zolt), "list", "peer.asm"]]),
                ("tools: zolt symbols", [[str(zolt), "symbols", "peer.asm"]]),
            ]
        results = time_rows(main_rows, work, runs)
        scale_rows = []
        # The scaled peer sources are written as CROM: the BIN prefix would go before their folder.
        for fraction in (0.125, 0.25, 0.5):
            scale_rows.append((f"max x{fraction}", [[zoltas, f"max-{fraction}.asm", "s.rom", "rom"]]))
            scale_rows.append((f"peer x{fraction}",
                               [[zoltas, f"peer-{fraction}/peer.asm", "s.rom", "rom"]]))
        scale_rows.append(("max x1", [[zoltas, "max.asm", "s.rom", "rom"]]))
        scale_rows.append(("peer x1", [[zoltas, "peer.asm", "s.rom", "rom"]]))
        results.update(time_rows(scale_rows, work, runs))

        comments_mb = (work / "comments.asm").stat().st_size / 1e6
        print(f"{'run':24} {'median ms':>10} {'min':>8} {'max':>8} {'peak RSS KiB':>13}")
        for name, _ in main_rows + scale_rows:
            median, low, high, rss = results[name]
            print(f"{name:24} {median:10.2f} {low:8.2f} {high:8.2f} {rss:13d}")
        r = {name: value[0] for name, value in results.items()}
        print()
        print(f"peer: zoltas takes 1/{r['peer: GNU as + ld'] / r['peer: zoltas']:.1f} of GNU as + ld"
              f" (target 1/5) and 1/{r['peer: NASM'] / r['peer: zoltas']:.1f} of NASM"
              " (target 1/15)")
        print(f"max: log off takes {r['max, log off'] / r['max: wc -l']:.2f} times wc -l"
              " (target 4)")
        print(f"comments: {comments_mb / (r['comments: zoltas'] / 1000):.0f} MB/s"
              " (target 500)")
        print("scale, median ms at 1/8, 1/4, 1/2, 1: max " +
              ", ".join(f"{r[n]:.2f}" for n in ("max x0.125", "max x0.25", "max x0.5", "max x1")) +
              "; peer " + ", ".join(f"{r[n]:.2f}" for n in ("peer x0.125", "peer x0.25",
                                                           "peer x0.5", "peer x1")))
        if shutil.which("strace"):
            trace = subprocess.run(
                ["strace", "-f", "-c", "-e", "trace=write", zoltas, "max.asm", "max.rom", "rom",
                 "log"], cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                text=True).stderr
            calls = next((line.split()[3] for line in trace.splitlines()
                          if line.strip().endswith("write")), "?")
            log_lines = (work / "asm.log").read_bytes().count(b"\n")
            print(f"log on: {calls} write calls for {log_lines} log lines and the console"
                  " and output writes")
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
