#!/usr/bin/python3
"""A local demo printer: an FTP server on 127.0.0.1 that keeps every file it receives.

Printers of the kind Pelto drives print whatever is stored on their FTP server; this one
only stores it, in the folder given, so that a newcomer can watch the files arrive.
"""
import argparse
import os

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--folder", required=True, help="where received files are kept")
    parser.add_argument("--port", type=int, default=2121)
    parser.add_argument("--user", default="pelto")
    parser.add_argument("--password", default="pelto")
    args = parser.parse_args()

    os.makedirs(args.folder, exist_ok=True)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.folder, perm="elradfmwMT")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.banner = "Pelto demo printer ready"
    # Pelto sends file names in Shift-JIS; store them under their proper (UTF-8) names.
    handler.encoding = "cp932"
    server = FTPServer(("127.0.0.1", args.port), handler)
    print(f"demo printer on 127.0.0.1:{args.port}, files go to {args.folder}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
