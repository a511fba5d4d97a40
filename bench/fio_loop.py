"""What the benches share: the kestrelia-cli they run and whether they can
run here, running a command for its output, timing one run of kestrelia-cli
with what it cost, and a loop device with direct I/O over a file of random
data in /dev/shm that is removed again afterwards."""

import os
import subprocess
import tempfile
import time

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


def busy_cpu_seconds():
    """Seconds all CPUs of the machine have spent on anything but idling, from /proc/stat."""
    with open("/proc/stat") as stat:
        fields = [int(value) for value in stat.readline().split()[1:]]
    idle = fields[3] + fields[4]  # idle and waiting for I/O
    return (sum(fields[:8]) - idle) / os.sysconf("SC_CLK_TCK")


class ProgramRun:
    """One run of a program: its wall time from start to exit, its own CPU time
    (user + system, every thread), its peak resident memory, the busy CPU time of
    the whole machine meanwhile (the program, the loop devices' kernel workers and
    whatever else runs) and what it printed."""

    def __init__(self, args):
        with tempfile.TemporaryFile() as output:
            actions = [(os.POSIX_SPAWN_DUP2, output.fileno(), 1),
                       (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0)]
            busy = busy_cpu_seconds()
            started = time.monotonic()
            # Spawned and waited for directly, so that no helper's start-up is counted as the program's.
            pid = os.posix_spawn(args[0], args, os.environ, file_actions=actions)
            _, status, usage = os.wait4(pid, 0)
            self.wall = time.monotonic() - started
            self.machine_cpu = busy_cpu_seconds() - busy
            if os.waitstatus_to_exitcode(status) != 0:
                raise subprocess.CalledProcessError(os.waitstatus_to_exitcode(status), args)
            output.seek(0)
            self.output = output.read().decode()
        self.cpu = usage.ru_utime + usage.ru_stime
        self.peak_kib = usage.ru_maxrss


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
