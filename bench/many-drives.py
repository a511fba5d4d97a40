#!/usr/bin/env python3
"""Four drives tested together against each alone, on loop devices with direct
I/O over files in /dev/shm (which share no disk) that this script creates and
removes.

  Each drive: 10 zones x 3 cycles of 16 MB reads and writes (every write puts
  back what was read). Prints the wall time of each drive alone, of the four
  together and their ratio to the slowest alone (the goal: at most 1.2), and
  the peak resident memory of the run together against one alone: it may grow
  by at most the transfer buffer (16 MiB) per extra drive.

Needs root (losetup); run as: bench/many-drives.py [path/to/kestrelia-cli]
"""

import contextlib
import json
import subprocess
import sys
import tempfile
import time

from fio_loop import MIB, LoopDevice

DRIVES = 4
DEVICE_BYTES = 512 * MIB
TRANSFER_MIB = 16
ARGS = ["--json", "--write", "--zones", "10", "--cycles", "3", "--size", str(TRANSFER_MIB)]


def timed_run(cli, targets):
    """Wall seconds and peak resident KiB of one kestrelia-cli run on the targets."""
    with tempfile.TemporaryFile(mode="w+") as output, tempfile.TemporaryFile(mode="w+") as usage:
        started = time.monotonic()
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", f"/dev/fd/{usage.fileno()}", cli, *ARGS, *targets],
                       stdout=output, stderr=subprocess.DEVNULL, check=True, pass_fds=(usage.fileno(),))
        wall = time.monotonic() - started
        output.seek(0)
        json.loads(output.read())  # a whole JSON object came out
        usage.seek(0)
        return wall, int(usage.read().split()[-1])


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else "build/cli/kestrelia-cli"
    with contextlib.ExitStack() as stack:
        devices = [stack.enter_context(LoopDevice(DEVICE_BYTES, f"kestrelia-bench-drive{i}-")) for i in range(DRIVES)]
        paths = [device.path for device in devices]
        alone = []
        for path in paths:
            wall, peak = timed_run(cli, [path])
            alone.append((wall, peak))
            print(f"{path} alone: wall {wall:.3f} s, peak resident {peak / 1024:.1f} MiB")
        wall, peak = timed_run(cli, paths)
        slowest = max(w for w, _ in alone)
        single_peak = max(p for _, p in alone)
        allowed = (DRIVES - 1) * TRANSFER_MIB * 1024
        print(f"{DRIVES} together: wall {wall:.3f} s, ratio to the slowest alone {wall / slowest:.3f} (goal <= 1.2)")
        print(f"peak resident {peak / 1024:.1f} MiB, {(peak - single_peak) / 1024:.1f} MiB above one alone; "
              f"ratio to {DRIVES - 1} transfer buffers {(peak - single_peak) / allowed:.3f} (goal <= 1)")


if __name__ == "__main__":
    main()
