#!/usr/bin/python3
"""pyftpdlib on 127.0.0.1 for Pelto's tests: one user, one folder, active mode.

Prints "PORT <n>" once it listens. Two changes to the stock server, so that a test sees what
the client sent, byte for byte:
- command lines are decoded as latin-1 and file names go to the disk as the very bytes that
  came (stock pyftpdlib decodes UTF-8 and puts U+FFFD in place of Shift-JIS);
- TYPE A uploads are stored as they arrive (as vsftpd does without ascii_upload_enable).
With --log, every command line and every file received (whole or not) is logged, raw.
"""
import argparse
import logging
import os

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def to_disk(text):
    return os.fsdecode(text.encode("latin-1"))


def to_ftp(path):
    return os.fsencode(path).decode("latin-1")


class RawFS(AbstractedFS):
    def ftp2fs(self, ftppath):
        return to_disk(super().ftp2fs(ftppath))

    def fs2ftp(self, fspath):
        return super().fs2ftp(to_ftp(fspath))


class AsItCameDTP(DTPHandler):
    def enable_receiving(self, type, cmd):
        super().enable_receiving("i", cmd)


class Handler(FTPHandler):
    log_file = None
    abstracted_fs = RawFS
    dtp_handler = AsItCameDTP

    def log_raw(self, data):
        if self.log_file:
            with open(self.log_file, "ab") as f:
                f.write(data + b"\n")

    def decode(self, data):
        return data.decode("latin-1")

    def pre_process_command(self, line, cmd, arg):
        self.log_raw(b"CMD " + line.encode("latin-1"))
        super().pre_process_command(line, cmd, arg)

    def on_file_received(self, file):
        self.log_raw(b"RECEIVED " + os.path.basename(os.fsencode(file)))

    def on_incomplete_file_received(self, file):
        self.log_raw(b"INCOMPLETE " + os.path.basename(os.fsencode(file)))


def serve(handler, folder, user, password, log):
    """Serves one user on a free port of 127.0.0.1; prints "PORT <n>" once it listens."""
    logging.basicConfig(level=logging.WARNING)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, folder, perm="elradfmwMT")
    handler.authorizer = authorizer
    handler.log_file = log
    handler.banner = "pyftpdlib ready"
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--user", default="pelto")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--log")
    args = parser.parse_args()
    serve(Handler, args.folder, args.user, args.password, args.log)


if __name__ == "__main__":
    main()
