"""Loopback servers for the Windows tests and screenshots.

Serves the files of FOLDER over HTTP (missing files and posts give an error page) and keeps a second port
that accepts connections but never answers. Prints "http PORT" and "silent PORT", then runs until
killed or for at most LIFETIME seconds.
Usage: site-server.py FOLDER [LIFETIME]
"""
import functools
import http.server
import socket
import sys
import threading
import time


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_POST(self):
        # Read the body before the error page: closing on unread input resets the connection, and the
        # client may lose the page.
        self.rfile.read(int(self.headers.get("Content-Length") or 0))
        self.send_error(501, "Unsupported method ('POST')")


def main():
    folder = sys.argv[1]
    lifetime = float(sys.argv[2]) if len(sys.argv) > 2 else 600.0
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    # Connections complete in the kernel's backlog and then wait for a reply that never comes.
    silent = socket.socket()
    silent.bind(("127.0.0.1", 0))
    silent.listen(16)
    print("http", server.server_address[1], flush=True)
    print("silent", silent.getsockname()[1], flush=True)
    time.sleep(lifetime)


if __name__ == "__main__":
    main()
