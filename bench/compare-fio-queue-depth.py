#!/usr/bin/env python3
"""Random 4 KiB reads at queue depths 1, 4 and 32: kestrelia-cli against fio
(io_uring, direct I/O) on one loop device over a file in /dev/shm that this
script creates and removes. Both read 10,000 blocks per run.

Prints our transfers per second as a ratio to fio's at each depth, best of a
few runs of each; beside it the ratio to fio told to submit and reap up to N
at once (--iodepth_batch_submit=N --iodepth_batch_complete_max=N), which is
how kestrelia refills its queue. Needs root (losetup) and fio; run as:
  bench/compare-fio-queue-depth.py [path/to/kestrelia-cli]
"""

import json
import os
import subprocess
import sys

from fio_loop import MIB, LoopDevice, run

DEVICE_BYTES = 1 << 30
TRANSFERS = 10000
DEPTHS = (1, 4, 32)
REPEATS = 5


def ours(cli, device, depth):
    """kestrelia-cli's random reads per second at that depth."""
    results = json.loads(run([cli, "--json", "--test", "random", "--queue-depth", str(depth), device]))
    return results["random"]["read_mbps"] * MIB / 4096


def theirs(device, depth, batched=False):
    """fio's random reads per second over the same number of 4 KiB reads."""
    batch = [f"--iodepth_batch_submit={depth}", f"--iodepth_batch_complete_max={depth}"] if batched else []
    output = run(["fio", "--output-format=json", "--name=qd", f"--filename={device}",
                  "--ioengine=io_uring", f"--iodepth={depth}", "--direct=1", "--rw=randread",
                  "--bs=4k", f"--number_ios={TRANSFERS}", "--norandommap", *batch])
    read = json.loads(output)["jobs"][0]["read"]
    return read["total_ios"] / (read["runtime"] / 1000.0)


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "build", "cli", "kestrelia-cli")
    if os.geteuid() != 0:
        print("skipped: loop devices need root")
        return 0
    if subprocess.run(["which", "fio"], capture_output=True).returncode != 0:
        print("skipped: fio is not installed")
        return 0

    with LoopDevice(DEVICE_BYTES, "kestrelia-bench-qd-") as loop:
        print(f"loop device {loop.path} over {DEVICE_BYTES >> 30} GiB in /dev/shm, direct I/O, "
              f"{TRANSFERS} random 4 KiB reads, best of {REPEATS} runs of each")
        print(f"{'queue depth':<14}{'kestrelia IO/s':>16}{'fio IO/s':>12}{'ratio':>8}"
              f"{'fio batched IO/s':>18}{'ratio':>8}")
        for depth in DEPTHS:
            best_ours = max(ours(cli, loop.path, depth) for _ in range(REPEATS))
            best_theirs = max(theirs(loop.path, depth) for _ in range(REPEATS))
            best_batched = max(theirs(loop.path, depth, True) for _ in range(REPEATS))
            print(f"{depth:<14}{best_ours:>16.0f}{best_theirs:>12.0f}{best_ours / best_theirs:>8.3f}"
                  f"{best_batched:>18.0f}{best_ours / best_batched:>8.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
