"""What the fio comparisons share: running a command for its output, and a
loop device with direct I/O over a file of random data in /dev/shm that is
removed again afterwards."""

import os
import subprocess
import tempfile

MIB = 1 << 20


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
