#!/usr/bin/env python3
"""Compares the surface test's reads with fio's sequential read of the same
span, with the same transfer size and O_DIRECT, on a loop device over a file
in /dev/shm and on a file on this machine's disk (in /var/tmp), both created
here and removed again.

Our figure is the surface test's read average (bytes over the time of the
timed reads); fio's is the bytes it read over its completion time
(mean completion latency times reads). Prints the best of several runs of
each, in alternating turns, and our figure as a ratio to fio's.
Needs root (losetup) and fio; run as:
  bench/compare-fio-surface.py [path/to/kestrelia-cli]
"""

import json
import os
import sys
import tempfile

from fio_loop import MIB, LoopDevice, cli_to_compare, run

SPAN_BYTES = 2 << 30
TRANSFER_MB = (1, 16)
REPEATS = 5


def ours(cli, target, megabytes):
    output = run([cli, "--json", "--test", "surface", "--size", str(megabytes),
                  "--span", str(SPAN_BYTES / (1 << 30)), target])
    return json.loads(output)["surface"]["read"]["avg_mbps"]


def fios(target, megabytes):
    output = run(["fio", "--output-format=json", "--ioengine=psync", "--direct=1", "--iodepth=1",
                  "--name=surface", "--rw=read", f"--bs={megabytes * MIB}", f"--size={SPAN_BYTES}",
                  f"--filename={target}"])
    read = json.loads(output)["jobs"][0]["read"]
    return read["io_bytes"] / (read["clat_ns"]["mean"] * read["total_ios"] / 1e9) / MIB


def compare(cli, name, target):
    for megabytes in TRANSFER_MB:
        ours_best = fio_best = 0.0
        for _ in range(REPEATS):
            ours_best = max(ours_best, ours(cli, target, megabytes))
            fio_best = max(fio_best, fios(target, megabytes))
        print(f"{name + ', ' + str(megabytes) + ' MB':<34}{ours_best:>12.1f}{fio_best:>12.1f}"
              f"{ours_best / fio_best:>8.3f}")


def main():
    cli = cli_to_compare(sys.argv)
    if cli is None:
        return 0
    print(f"surface reads of {SPAN_BYTES >> 30} GiB against fio's sequential read, best of {REPEATS}")
    print(f"{'target, transfer':<34}{'kestrelia':>12}{'fio':>12}{'ratio':>8}   (MB/s)")
    with LoopDevice(SPAN_BYTES, "kestrelia-bench-surface-") as loop:
        compare(cli, "loop device over /dev/shm", loop.path)
    handle, path = tempfile.mkstemp(prefix="kestrelia-bench-surface-", dir="/var/tmp")
    try:
        with os.fdopen(handle, "wb") as backing:
            block = os.urandom(MIB)
            for _ in range(SPAN_BYTES // MIB):
                backing.write(block)
            backing.flush()
            os.fsync(backing.fileno())
        compare(cli, "file on disk (/var/tmp)", path)
    finally:
        os.unlink(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
