#!/usr/bin/env python3
"""How much of kestrelia-cli's wall time is its timed transfers, and how much
memory it holds, on a loop device with direct I/O over a file in /dev/shm that
this script creates and removes.

  10 zones x 10 cycles of 16 MB reads. The timed transfers are every read the
  test clocks: the 100 cycle reads, each 16 MiB at the speed the JSON output
  gives, and the 10 preflight reads, one at the start of each zone (clocked
  too but not reported, so counted at their zone's average speed). The rest
  of the wall time is the program's own: start-up, describing and opening the
  device, the transfer buffer, the history document saved with fsync, output.
  The wall time runs from spawning kestrelia-cli to its exit (no helper
  program in between). Prints wall time / timed transfers for each run (the
  goal: at most 1.05), beside wall time / cycle reads alone, the CPU time of
  the process itself, its peak resident memory and the BSS of the binary.

Needs root (losetup); run as: bench/cli-run-overhead.py [path/to/kestrelia-cli]
"""

import json
import os
import sys

from fio_loop import MIB, LoopDevice, ProgramRun, run

DEVICE_BYTES = 512 * MIB
ZONES = 10
CYCLES = 10
TRANSFER_MIB = 16
REPEATS = 3


def timed_seconds(results):
    """Seconds the engine spent in the cycle reads and in the preflight reads,
    from the speeds it reported."""
    cycles = preflight = 0.0
    for zone in results["zones"]:
        cycles += sum(TRANSFER_MIB / speed for speed in zone["read"]["cycles"])
        preflight += TRANSFER_MIB / zone["read"]["avg"]
    return cycles, preflight


def program_of(cli):
    """The program proper that the kestrelia-cli launcher starts, where the build tree keeps it."""
    program = os.path.join(os.path.dirname(cli), "..", "libexec", "kestrelia", "kestrelia-cli")
    return program if os.path.exists(program) else cli


def bss_bytes(binary):
    for line in run(["size", "-A", binary]).splitlines():
        fields = line.split()
        if fields and fields[0] == ".bss":
            return int(fields[1])
    return 0


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else "build/cli/kestrelia-cli"
    args = ["--json", "--zones", str(ZONES), "--cycles", str(CYCLES), "--size", str(TRANSFER_MIB)]
    with LoopDevice(DEVICE_BYTES, "kestrelia-bench-overhead-") as device:
        for attempt in range(REPEATS):
            measured = ProgramRun([cli, *args, device.path])
            cycles, preflight = timed_seconds(json.loads(measured.output))
            timed = cycles + preflight
            wall = measured.wall
            print(f"run {attempt + 1}: wall {wall:.3f} s, timed transfers {timed:.3f} s "
                  f"(cycles {cycles:.3f} s + preflight {preflight:.3f} s), ratio {wall / timed:.3f} "
                  f"(to the cycles alone {wall / cycles:.3f}), own CPU {measured.cpu * 1000:.0f} ms, "
                  f"peak resident {measured.peak_kib / 1024:.1f} MiB")
    program = program_of(cli)
    print(f"{os.path.normpath(program)}: BSS {bss_bytes(program) / MIB:.2f} MiB")


if __name__ == "__main__":
    main()
