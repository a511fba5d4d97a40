#!/usr/bin/env python3
"""Four drives tested together against each alone, on loop devices with direct
I/O over files in /dev/shm (which share no disk) that this script creates and
removes.

  Each drive: 10 zones x 3 cycles of 16 MB reads and writes (every write puts
  back what was read). Prints the wall time of each drive alone, of the four
  together and their ratio to the slowest alone (the goal: at most 1.2), and
  the peak resident memory of the run together against one alone: it may grow
  by at most the transfer buffer (16 MiB) per extra drive.

  What bounds the wall time: a loop device over /dev/shm copies every
  transfer with the CPU (its kernel workers), so four drives at once compete
  for the machine's CPUs. Each run prints kestrelia-cli's own CPU time (every
  thread, user + system) and the busy CPU time of the whole machine meanwhile
  (the loop workers' copies, ours, and anything else running: measure on a
  quiet machine); the busy CPU time over the number of CPUs is the least wall
  time those CPUs allow, the CPU-bound floor.

Needs root (losetup); run as: bench/many-drives.py [path/to/kestrelia-cli]
"""

import contextlib
import json
import os
import sys

from fio_loop import MIB, LoopDevice, ProgramRun

DRIVES = 4
DEVICE_BYTES = 512 * MIB
TRANSFER_MIB = 16
ARGS = ["--json", "--write", "--zones", "10", "--cycles", "3", "--size", str(TRANSFER_MIB)]


CPUS = os.cpu_count()


def timed_run(cli, targets, name):
    """One kestrelia-cli run on the targets, its figures printed under the name."""
    measured = ProgramRun([cli, *ARGS, *targets])
    json.loads(measured.output)  # a whole JSON object came out
    floor = measured.machine_cpu / CPUS
    print(f"{name}: wall {measured.wall:.3f} s, peak resident {measured.peak_kib / 1024:.1f} MiB, "
          f"CPU: ours {measured.cpu:.3f} s, the machine's {measured.machine_cpu:.2f} s "
          f"(floor on {CPUS} CPUs {floor:.3f} s, wall to floor {measured.wall / max(floor, 1e-9):.2f})")
    return measured


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else "build/cli/kestrelia-cli"
    with contextlib.ExitStack() as stack:
        devices = [stack.enter_context(LoopDevice(DEVICE_BYTES, f"kestrelia-bench-drive{i}-")) for i in range(DRIVES)]
        paths = [device.path for device in devices]
        alone = [timed_run(cli, [path], f"{path} alone") for path in paths]
        together = timed_run(cli, paths, f"{DRIVES} together")
        slowest = max(run.wall for run in alone)
        single_peak = max(run.peak_kib for run in alone)
        allowed = (DRIVES - 1) * TRANSFER_MIB * 1024
        floor = max(slowest, together.machine_cpu / CPUS)
        print(f"{DRIVES} together: ratio to the slowest alone {together.wall / slowest:.3f} (goal <= 1.2); "
              f"the CPUs allow no less than {floor / slowest:.3f} (the slowest alone or the CPU-bound floor)")
        print(f"CPU: ours {together.cpu:.3f} s together against {sum(run.cpu for run in alone):.3f} s "
              f"for the drives alone; the rest of the machine's {together.machine_cpu:.2f} s is the loop "
              f"workers' copies and whatever else ran")
        print(f"peak resident {together.peak_kib / 1024:.1f} MiB, {(together.peak_kib - single_peak) / 1024:.1f} MiB "
              f"above one alone; ratio to {DRIVES - 1} transfer buffers "
              f"{(together.peak_kib - single_peak) / allowed:.3f} (goal <= 1)")


if __name__ == "__main__":
    main()
