"""What the fio comparisons share: the kestrelia-cli they run and whether
they can run here, running a command for its output, and a loop device with
direct I/O over a file of random data in /dev/shm that is removed again
afterwards."""

import os
import subprocess
import tempfile

MIB = 1 << 20


def cli_to_compare(argv):
    """kestrelia-cli named on the command line or in the build tree; None, with the
    reason printed, when the comparison cannot run here (it needs root and fio)."""
    if os.geteuid() != 0:
        print("skipped: loop devices need root")
        return None
    if subprocess.run(["which", "fio"], capture_output=True).returncode != 0:
        print("skipped: fio is not installed")
        return None
    return argv[1] if len(argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "build", "cli", "kestrelia-cli")


def run(args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


class LoopDevice:
    """A loop device with direct I/O over a file in /dev/shm filled with data."""

    def __init__(self, size_bytes, prefix):
        self.size_bytes = size_bytes
        self.prefix = prefix

    def __enter__(self):
        handle, self.backing = tempfile.mkstemp(prefix=self.prefix, dir="/dev/shm")
        block = os.urandom(MIB)
        with os.fdopen(handle, "wb") as backing:
            for _ in range(self.size_bytes // MIB):
                backing.write(block)
        try:
            self.path = run(["losetup", "--find", "--show", "--direct-io=on", self.backing]).strip()
        except Exception:
            os.unlink(self.backing)
            raise
        return self

    def __exit__(self, *exc):
        subprocess.run(["losetup", "-d", self.path], check=False)
        os.unlink(self.backing)
