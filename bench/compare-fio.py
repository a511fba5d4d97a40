#!/usr/bin/env python3
"""Compares kestrelia-cli's figures with fio's on the same work, on one loop
device over a file in /dev/shm that this script creates and removes.

  sequential reads of 1 MB and 16 MB transfers at the zones kestrelia-cli
  chose (fio reads the same offsets with the same transfer size), and
  4 KiB random reads at queue depth 1.

Prints each of our figures as a ratio to fio's from the same run, and the
resident memory of kestrelia-cli against its transfer buffer. Needs root
(losetup) and fio; run as: bench/compare-fio.py [path/to/kestrelia-cli]
"""

import json
import os
import subprocess
import sys
import tempfile
import time

from fio_loop import MIB, LoopDevice, cli_to_compare, run

DEVICE_BYTES = 4 << 30
ZONES = 10
CYCLES = 20
REPEATS = 3  # each figure is the best of this many runs of both tools


def kestrelia(cli, device, args):
    """Runs kestrelia-cli; returns its results and its peak resident memory in KiB."""
    with tempfile.TemporaryFile(mode="w+") as output:
        child = subprocess.Popen([cli, "--json", *args, device], stdout=output,
                                 stderr=subprocess.DEVNULL)
        # The peak since exec, read while it runs (the child's rusage would count the
        # forked interpreter's memory too).
        peak_kib = 0
        while child.poll() is None:
            peak_kib = max(peak_kib, high_water_kib(child.pid))
            time.sleep(0.005)
        if child.returncode != 0:
            raise RuntimeError(f"kestrelia-cli {' '.join(args)} failed with {child.returncode}")
        output.seek(0)
        return json.loads(output.read()), peak_kib


def high_water_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def fio(device, job_args):
    output = run(["fio", "--output-format=json", "--ioengine=psync", "--direct=1",
                  "--iodepth=1", f"--filename={device}", *job_args])
    return json.loads(output)["jobs"]


def sequential(cli, device, megabytes):
    results, peak_kib = kestrelia(cli, device, ["--zones", str(ZONES), "--cycles", str(CYCLES),
                                                "--size", str(megabytes)])
    transfer = megabytes * MIB
    # Our figure over all zones: bytes moved over the time they took, from each cycle's speed.
    seconds = sum(transfer / (speed * MIB) for zone in results["zones"]
                  for speed in zone["read"]["cycles"] if speed > 0)
    ours = len(results["zones"]) * CYCLES * transfer / seconds / MIB

    jobs = []
    for index, zone in enumerate(results["zones"]):
        jobs += [f"--name=zone{index}", "--rw=read", f"--bs={transfer}",
                 f"--offset={zone['first_sector'] * 512}", f"--size={transfer}",
                 f"--loops={CYCLES}", "--stonewall"]
    fio_jobs = fio(device, jobs)
    # fio's per-job times are whole milliseconds; its mean completion latency is exact.
    fio_seconds = sum(job["read"]["clat_ns"]["mean"] * job["read"]["total_ios"] for job in fio_jobs) / 1e9
    theirs = sum(job["read"]["io_bytes"] for job in fio_jobs) / fio_seconds / MIB
    return ours, theirs, peak_kib


def random_reads(cli, device):
    results, peak_kib = kestrelia(cli, device, ["--test", "random"])
    ours = results["random"]["read_mbps"] * MIB / 4096
    fio_jobs = fio(device, ["--name=random", "--rw=randread", "--bs=4k",
                                  "--number_ios=10000", "--norandommap"])
    read = fio_jobs[0]["read"]
    theirs = 1e9 / read["clat_ns"]["mean"]
    return ours, theirs, peak_kib


def main():
    cli = cli_to_compare(sys.argv)
    if cli is None:
        return 0

    with LoopDevice(DEVICE_BYTES, "kestrelia-bench-") as loop:
        print(f"loop device {loop.path} over {DEVICE_BYTES >> 30} GiB in /dev/shm, direct I/O, "
              f"best of {REPEATS} runs of each")
        print(f"{'work':<28}{'kestrelia':>12}{'fio':>12}{'ratio':>8}{'RSS MiB':>9}{'buffer MiB':>11}")
        cases = [("sequential read 1 MB", lambda: sequential(cli, loop.path, 1), "MB/s", 1),
                 ("sequential read 16 MB", lambda: sequential(cli, loop.path, 16), "MB/s", 16),
                 ("random read 4 KiB, QD1", lambda: random_reads(cli, loop.path), "IO/s",
                  10000 * 4096 / MIB)]
        for name, measure, unit, buffer_mib in cases:
            runs = [measure() for _ in range(REPEATS)]
            ours = max(r[0] for r in runs)
            theirs = max(r[1] for r in runs)
            peak_kib = max(r[2] for r in runs)
            print(f"{name + ' (' + unit + ')':<28}{ours:>12.1f}{theirs:>12.1f}{ours / theirs:>8.3f}"
                  f"{peak_kib / 1024:>9.1f}{buffer_mib:>11.1f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
