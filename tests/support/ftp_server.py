"""A throw-away FTP server on 127.0.0.1 for the update tests.

Serves one user with full rights on a home folder, listens on a free port, prints "PORT <n>" once
it accepts connections, and ends when its standard input closes, so that it never outlives the
test process that started it.
"""

import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def parse_arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--home", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--throttle", type=int, default=0,
                        help="bytes per second on the data channel, both directions; 0: none")
    return parser.parse_args()


def make_handler(arguments):
    authorizer = DummyAuthorizer()
    authorizer.add_user(arguments.user, arguments.password, arguments.home, perm="elradfmwMT")

    class Handler(FTPHandler):
        pass

    Handler.authorizer = authorizer
    # Refused logins answer at once instead of after the default pause.
    Handler.auth_failed_timeout = 0
    if arguments.throttle > 0:
        class Throttled(ThrottledDTPHandler):
            read_limit = arguments.throttle
            write_limit = arguments.throttle

        Handler.dtp_handler = Throttled
    return Handler


def exit_when_parent_goes():
    sys.stdin.read()
    os._exit(0)


def main():
    arguments = parse_arguments()
    logging.basicConfig(level=logging.ERROR)
    server = FTPServer(("127.0.0.1", 0), make_handler(arguments))
    print("PORT %d" % server.address[1], flush=True)
    threading.Thread(target=exit_when_parent_goes, daemon=True).start()
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
