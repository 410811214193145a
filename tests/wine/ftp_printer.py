"""A printer for the print-job tests: printer_ftpd.py on 127.0.0.1, started and stopped by PID."""

import os
import subprocess
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
PYTHON = "/usr/bin/python3"  # Debian's, which has python3-pyftpdlib


class FtpPrinter:
    def __init__(self, folder, user="pelto", password="secret"):
        self.folder = Path(folder)
        self.inbox = self.folder / "inbox"
        self.inbox.mkdir(parents=True)
        self.log_path = self.folder / "ftp.log"
        self.log_path.touch()
        self.slow_flag = self.folder / "slow"
        self.user, self.password = user, password
        self.process = subprocess.Popen(
            [PYTHON, str(HERE / "printer_ftpd.py"), "--folder", str(self.inbox), "--user", user,
             "--password", password, "--log", str(self.log_path), "--slow-flag", str(self.slow_flag)],
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        line = self.process.stdout.readline().decode()
        if not line.startswith("PORT "):
            self.stop()
            raise RuntimeError("the FTP server did not start: %r" % line)
        self.port = int(line.split()[1])

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stdout.close()

    def slow(self, on):
        """While slow, uploads trickle in: the job stays inside its transfer."""
        if on:
            self.slow_flag.touch()
        else:
            self.slow_flag.unlink(missing_ok=True)

    def log(self):
        """The server's raw log lines: CONNECT, CMD <line>, RECEIVED/INCOMPLETE <name>."""
        return self.log_path.read_bytes().splitlines()

    def commands(self):
        return [line[4:] for line in self.log() if line.startswith(b"CMD ")]

    def stored(self, name):
        """The path of the file stored under a display name: the server keeps the Shift-JIS
        bytes of the STOR line as the name on disk."""
        return self.inbox / os.fsdecode(name.encode("cp932"))

    def wait_for(self, probe, seconds=30):
        """Polls probe until it is true-ish; returns its last value."""
        deadline = time.monotonic() + seconds
        while True:
            value = probe()
            if value or time.monotonic() > deadline:
                return value
            time.sleep(0.05)
