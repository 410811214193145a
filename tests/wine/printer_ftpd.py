#!/usr/bin/python3
"""The FTP test server of tests/ftp (raw Shift-JIS names, bytes stored as they came, a raw
log), with two additions for the tests of the running program:
- every control connection is logged as "CONNECT", so a test sees that nothing came;
- while the file named by --slow-flag exists, uploads are read slowly (64 KiB every 0.1 s),
  so a job is still in its transfer when the test acts on the window.
Prints "PORT <n>" once it listens on 127.0.0.1.
"""
import argparse
import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "ftp"))
import pyftpd_server  # noqa: E402

SLOW_CHUNK = 64 * 1024
SLOW_PAUSE = 0.1


class SlowWhenFlaggedDTP(pyftpd_server.AsItCameDTP):
    slow_flag = None

    def __init__(self, sock, cmd_channel):
        super().__init__(sock, cmd_channel)
        self._resume = None

    def recv(self, buffer_size):
        if not (self.slow_flag and os.path.exists(self.slow_flag)):
            return super().recv(buffer_size)
        chunk = super().recv(min(buffer_size, SLOW_CHUNK))
        if chunk:
            # Stop reading for a moment: the client's sends back up as with a slow printer.
            self.del_channel()
            self._resume = self.ioloop.call_later(SLOW_PAUSE, self._read_again,
                                                  _errback=self.handle_error)
        return chunk

    def _read_again(self):
        self.add_channel(events=self.ioloop.READ)

    def close(self):
        if self._resume is not None and not self._resume.cancelled:
            self._resume.cancel()
        super().close()


class Handler(pyftpd_server.Handler):
    dtp_handler = SlowWhenFlaggedDTP

    def on_connect(self):
        self.log_raw(b"CONNECT")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--user", default="pelto")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--log", required=True)
    parser.add_argument("--slow-flag")
    args = parser.parse_args()

    SlowWhenFlaggedDTP.slow_flag = args.slow_flag
    pyftpd_server.serve(Handler, args.folder, args.user, args.password, args.log)


if __name__ == "__main__":
    main()
