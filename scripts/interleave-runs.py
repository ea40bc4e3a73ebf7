#!/usr/bin/env python3
"""Times whole commands against each other on a busy machine: each round runs every command
once, in turn, so that load from other work falls on all of them alike. Prints per command
the median and fastest wall time and the mean CPU time (user + system of the child), in ms.

    scripts/interleave-runs.py 60 'OLD/tessavox-batch chart f.txt --plot f1f2 -o /tmp/a.png' \\
        'NEW/tessavox-batch chart f.txt --plot f1f2 -o /tmp/b.png'
"""
import os
import shlex
import statistics
import subprocess
import sys
import time


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    rounds = int(sys.argv[1])
    commands = [shlex.split(c) for c in sys.argv[2:]]
    wall = [[] for _ in commands]
    cpu = [[] for _ in commands]
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL, "check": True}
    for command in commands:  # once first, so that every file is in the page cache
        subprocess.run(command, **quiet)
    for _ in range(rounds):
        for k, command in enumerate(commands):
            before = os.times()
            start = time.perf_counter()
            subprocess.run(command, **quiet)
            wall[k].append((time.perf_counter() - start) * 1000)
            after = os.times()
            cpu[k].append((after.children_user - before.children_user +
                           after.children_system - before.children_system) * 1000)
    for text, w, c in zip(sys.argv[2:], wall, cpu):
        print(f"wall {statistics.median(w):7.1f} (fastest {min(w):6.1f})  "
              f"CPU {statistics.mean(c):6.1f}  {text}")


if __name__ == "__main__":
    main()
