#!/usr/bin/env python3
"""Times whole zoltas processes: a warm-up run, then RUNS runs of each command, in turns.

usage: time_runs.py RUNS NAME=COMMAND [NAME=COMMAND ...]
Prints one line per command: median and spread (min to max) in milliseconds.
"""
import statistics
import subprocess
import sys
import time


def run(command):
    start = time.perf_counter()
    subprocess.run(command, shell=True, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    runs = int(sys.argv[1])
    commands = [arg.split("=", 1) for arg in sys.argv[2:]]
    times = {name: [] for name, _ in commands}
    for _, command in commands:
        run(command)
    for _ in range(runs):
        for name, command in commands:
            times[name].append(run(command) * 1000)
    for name, _ in commands:
        t = times[name]
        print(f"{name:24} median {statistics.median(t):8.2f} ms   min {min(t):8.2f}   max {max(t):8.2f}")


if __name__ == "__main__":
    main()
