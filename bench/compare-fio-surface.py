#!/usr/bin/env python3
"""Compares the surface test's reads with fio's sequential read of the same
span, with the same transfer size and O_DIRECT, on a loop device over a file
in /dev/shm and on a file on this machine's disk (in /var/tmp), both created
here and removed again.

Our figure is the surface test's read average (bytes over the time of the
timed reads); fio's is the bytes it read over its completion time
(mean completion latency times reads). Prints the best of several runs of
each, in alternating turns, and our figure as a ratio to fio's.

Both sides read the device, not the page cache: each opens it with O_DIRECT,
and the block device's own count of read requests shows it (requests per
transfer; the disk's count includes whatever else reads it meanwhile). The
count also shows what the transfer buffer does: a direct transfer goes to the
device in one request per run of contiguous memory, up to the device's
request size, so a buffer of huge pages (ours: transparent huge pages) takes
fewer and larger requests than one of 4 KiB pages (fio's own buffer). fio
reads the same way with --mem=mmaphuge, from huge pages this script reserves
for it (vm.nr_hugepages, given back afterwards); the ratio is to that run,
fio's 4 KiB-page figure is printed beside it.
Needs root (losetup) and fio; run as:
  bench/compare-fio-surface.py [path/to/kestrelia-cli]
"""

import contextlib
import json
import os
import sys
import tempfile

from fio_loop import MIB, LoopDevice, cli_to_compare, run

SPAN_BYTES = 2 << 30
TRANSFER_MB = (1, 16)
REPEATS = 5
HUGE_PAGES = "/proc/sys/vm/nr_hugepages"


class RequestCount:
    """Read requests the block device holding the path has completed (field 1 of its stat)."""

    def __init__(self, path):
        device = os.stat(path).st_rdev if path.startswith("/dev/") else os.stat(path).st_dev
        folder = os.path.realpath(f"/sys/dev/block/{os.major(device)}:{os.minor(device)}")
        if os.path.exists(os.path.join(folder, "partition")):
            folder = os.path.dirname(folder)
        self.stat = os.path.join(folder, "stat")

    def __call__(self):
        with open(self.stat) as stat:
            return int(stat.read().split()[0])


@contextlib.contextmanager
def huge_pages_for(buffer_bytes):
    """Reserves huge pages for fio's buffer; yields whether it could."""
    with open(HUGE_PAGES) as setting:
        before = int(setting.read())
    wanted = before + buffer_bytes // (2 * MIB) + 4  # with room for fio's alignment
    try:
        with open(HUGE_PAGES, "w") as setting:
            setting.write(str(wanted))
        with open(HUGE_PAGES) as setting:
            yield int(setting.read()) >= wanted
    finally:
        with open(HUGE_PAGES, "w") as setting:
            setting.write(str(before))


def ours(cli, target, megabytes, requests):
    counted = requests()
    output = run([cli, "--json", "--test", "surface", "--size", str(megabytes),
                  "--span", str(SPAN_BYTES / (1 << 30)), target])
    transfers = SPAN_BYTES // (megabytes * MIB)
    return json.loads(output)["surface"]["read"]["avg_mbps"], (requests() - counted) / transfers


def fios(target, megabytes, requests, memory):
    counted = requests()
    output = run(["fio", "--output-format=json", "--ioengine=psync", "--direct=1", "--iodepth=1",
                  f"--mem={memory}", "--name=surface", "--rw=read", f"--bs={megabytes * MIB}",
                  f"--size={SPAN_BYTES}", f"--filename={target}"])
    read = json.loads(output)["jobs"][0]["read"]
    speed = read["io_bytes"] / (read["clat_ns"]["mean"] * read["total_ios"] / 1e9) / MIB
    return speed, (requests() - counted) / read["total_ios"]


def compare(cli, name, target):
    requests = RequestCount(target)
    for megabytes in TRANSFER_MB:
        with huge_pages_for(megabytes * MIB) as reserved:
            best = {"ours": (0.0, 0.0), "fio huge": (0.0, 0.0), "fio 4k": (0.0, 0.0)}
            for _ in range(REPEATS):
                best["ours"] = max(best["ours"], ours(cli, target, megabytes, requests))
                best["fio 4k"] = max(best["fio 4k"], fios(target, megabytes, requests, "malloc"))
                if reserved:
                    best["fio huge"] = max(best["fio huge"], fios(target, megabytes, requests, "mmaphuge"))
        (speed, per), (huge, huge_per), (small, small_per) = best["ours"], best["fio huge"], best["fio 4k"]
        ratio = f"{speed / huge:>8.3f}" if reserved else "   (none: no huge pages to reserve)"
        print(f"{name + ', ' + str(megabytes) + ' MB':<34}{speed:>10.1f}{huge:>10.1f}{small:>10.1f}{ratio}"
              f"   {per:.1f} / {huge_per:.1f} / {small_per:.1f}")


def main():
    cli = cli_to_compare(sys.argv)
    if cli is None:
        return 0
    print(f"surface reads of {SPAN_BYTES >> 30} GiB against fio's sequential read, best of {REPEATS}")
    print(f"{'target, transfer':<34}{'kestrelia':>10}{'fio huge':>10}{'fio 4k':>10}{'ratio':>8}"
          "   (MB/s; read requests per transfer: ours / fio huge / fio 4k)")
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
            # Written through the page cache: dropped from it, so that no side finds it there.
            os.posix_fadvise(backing.fileno(), 0, 0, os.POSIX_FADV_DONTNEED)
        compare(cli, "file on disk (/var/tmp)", path)
    finally:
        os.unlink(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
