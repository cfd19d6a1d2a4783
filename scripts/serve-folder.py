#!/usr/bin/env python3
"""Serves the files of a folder over HTTP on 127.0.0.1, standing in for a
course's download site (the demo course's lesson pack).

    serve-folder.py FOLDER PORT [PORT_FILE]

PORT 0 takes any free port; the port in use is written to PORT_FILE.
"""
import functools
import http.server
import os
import sys


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    folder, port = sys.argv[1], int(sys.argv[2])
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    if len(sys.argv) > 3:
        with open(sys.argv[3] + ".part", "w") as out:
            out.write(f"{server.server_port}\n")
        os.replace(sys.argv[3] + ".part", sys.argv[3])
    server.serve_forever()


if __name__ == "__main__":
    main()
