#!/usr/bin/env python3
"""Random 4 KiB reads at queue depths 1, 4, 32 and 128: kestrelia-cli against
fio (--ioengine=io_uring --direct=1 --rw=randread --bs=4k --iodepth=N) on the
same target, 10,000 reads per run. Two targets: a 2 GiB file of random data
on this machine's disk (in /var/tmp, or the folder given with --dir) and a
loop device with direct I/O over a file in /dev/shm; both are created here
and removed afterwards.

Every round runs each program REPEATS times per target and depth, after a
short untimed warm-up at that depth, in turns that alternate (kestrelia, fio,
fio, kestrelia, ...; fio first in every second round), and keeps each program's best
run. On a machine shared with other work a run lands in a busy spell or a
quiet one almost at random (the same program's transfers per second vary by a
factor of five here while others build), and whichever goes first after the
warm-up is slower on the disk: one run per program and round compared a busy
spell with a quiet one as often as like with like. Every round is printed
with all its runs; the summary gives the median of our best over fio's best,
the middle half of those ratios, and fio's own spread over all its runs
((max - min) / median), which says how far a ratio can be trusted on this
machine. Needs root (losetup) and fio; run as:
  bench/compare-fio-queue-depth.py [--rounds N] [--repeat K] [--dir FOLDER] [path/to/kestrelia-cli]
"""

import argparse
import json
import os
import statistics
import subprocess
import tempfile

from fio_loop import MIB, LoopDevice, run

FILE_BYTES = 2 << 30
LOOP_BYTES = 1 << 30
TRANSFERS = 10000
DEPTHS = (1, 4, 32, 128)
REPEATS = 3


def ours(cli, target, depth):
    """kestrelia-cli's random reads per second at that depth."""
    results = json.loads(run([cli, "--json", "--test", "random", "--queue-depth", str(depth), target]))
    return results["random"]["read_mbps"] * MIB / 4096


def theirs(target, depth):
    """fio's random reads per second over the same number of 4 KiB reads."""
    output = run(["fio", "--output-format=json", "--name=qd", f"--filename={target}",
                  "--ioengine=io_uring", f"--iodepth={depth}", "--direct=1", "--rw=randread",
                  "--bs=4k", f"--number_ios={TRANSFERS}", "--norandommap"])
    return json.loads(output)["jobs"][0]["read"]["iops"]


def warm_up(target, depth):
    """A short untimed run at that depth on fresh random offsets: whichever program went first
    at a depth would otherwise also pay for waking the kernel's workers (loop device threads,
    the disk's queue) that the second then finds ready."""
    run(["fio", "--output-format=json", "--name=warm", f"--filename={target}", "--ioengine=io_uring",
         f"--iodepth={depth}", "--direct=1", "--rw=randread", "--bs=4k", "--number_ios=2000",
         "--norandommap", "--randrepeat=0"])


class DiskFile:
    """A file of random data on a disk-backed file system, removed afterwards."""

    def __init__(self, folder, size_bytes):
        self.folder = folder
        self.size_bytes = size_bytes

    def __enter__(self):
        handle, self.path = tempfile.mkstemp(prefix="kestrelia-bench-qd-", suffix=".img", dir=self.folder)
        with os.fdopen(handle, "wb") as out:
            for _ in range(self.size_bytes // MIB):
                out.write(os.urandom(MIB))
            out.flush()
            os.fsync(out.fileno())
        return self

    def __exit__(self, *exc):
        os.unlink(self.path)


def best_of_alternating(repeat, ours_first, run_ours, run_fio):
    """Both programs `repeat` times in turns ABBA...; all runs of each, best first."""
    a, b = [], []
    for turn in range(repeat):
        if (turn % 2 == 0) == ours_first:
            a.append(run_ours())
            b.append(run_fio())
        else:
            b.append(run_fio())
            a.append(run_ours())
    return sorted(a, reverse=True), sorted(b, reverse=True)


def measure(cli, targets, rounds, repeat):
    """{(target name, depth): ([ours per round], [fio per round], [every fio run])}: each
    program's best run of every round."""
    samples = {(name, depth): ([], [], []) for name, _ in targets for depth in DEPTHS}
    print(f"{'round':<7}{'target':<10}{'depth':>6}{'kestrelia IO/s':>16}{'fio IO/s':>12}{'ratio':>8}  "
          f"first      all runs (kestrelia | fio)")
    for round_number in range(rounds):
        ours_first = round_number % 2 == 0
        for name, path in targets:
            for depth in DEPTHS:
                warm_up(path, depth)
                a, b = best_of_alternating(repeat, ours_first, lambda: ours(cli, path, depth),
                                           lambda: theirs(path, depth))
                samples[(name, depth)][0].append(a[0])
                samples[(name, depth)][1].append(b[0])
                samples[(name, depth)][2].extend(b)
                runs = " ".join(f"{x:.0f}" for x in a) + " | " + " ".join(f"{x:.0f}" for x in b)
                print(f"{round_number + 1:<7}{name:<10}{depth:>6}{a[0]:>16.0f}{b[0]:>12.0f}{a[0] / b[0]:>8.3f}  "
                      f"{'kestrelia' if ours_first else 'fio':<11}{runs}", flush=True)
    return samples


def summarize(samples):
    print()
    print(f"{'target':<10}{'depth':>6}{'median ratio':>14}{'middle half':>14}{'kestrelia med.':>16}"
          f"{'fio med.':>10}{'fio spread':>12}")
    for (name, depth), (a, b, every_fio) in samples.items():
        ratios = sorted(x / y for x, y in zip(a, b))
        quarter = len(ratios) // 4
        middle = f"{ratios[quarter]:.2f}-{ratios[-1 - quarter]:.2f}"
        fio_median = statistics.median(b)
        spread = (max(every_fio) - min(every_fio)) / statistics.median(every_fio)
        print(f"{name:<10}{depth:>6}{statistics.median(ratios):>14.3f}{middle:>14}{statistics.median(a):>16.0f}"
              f"{fio_median:>10.0f}{spread:>11.0%}")
    print(f"load average at the end: {' '.join(f'{x:.1f}' for x in os.getloadavg())} "
          f"on {os.cpu_count()} processors")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cli", nargs="?", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "build", "cli", "kestrelia-cli"))
    parser.add_argument("--rounds", type=int, default=6)
    parser.add_argument("--repeat", type=int, default=REPEATS, help="runs of each program per round, best kept")
    parser.add_argument("--dir", default="/var/tmp", help="disk-backed folder for the 2 GiB file")
    args = parser.parse_args()
    if os.geteuid() != 0:
        print("skipped: loop devices need root")
        return 0
    if subprocess.run(["which", "fio"], capture_output=True).returncode != 0:
        print("skipped: fio is not installed")
        return 0

    print(f"{TRANSFERS} random 4 KiB reads per run, direct I/O, {args.rounds} rounds of the best of "
          f"{args.repeat} runs each in alternating turns; load average "
          f"{' '.join(f'{x:.1f}' for x in os.getloadavg())} on {os.cpu_count()} processors")
    with DiskFile(args.dir, FILE_BYTES) as disk, LoopDevice(LOOP_BYTES, "kestrelia-bench-qd-") as loop:
        print(f"disk: {disk.path} ({FILE_BYTES >> 30} GiB); shm loop: {loop.path} over "
              f"{LOOP_BYTES >> 30} GiB in /dev/shm")
        summarize(measure(args.cli, [("disk", disk.path), ("shm loop", loop.path)], args.rounds, args.repeat))
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
