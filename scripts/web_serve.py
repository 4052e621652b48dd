#!/usr/bin/env python3
"""Serves the browser calculator's folder on 127.0.0.1.

The page is served cross-origin isolated, so that "Ukončit" can reach the search in its Web Worker
through shared memory while it runs; elsewhere the page can only end the worker.
Usage: web_serve.py FOLDER [PORT]  (port 0: a free one, printed as "port N" on the first line)
"""
import functools
import http.server
import sys


class IsolatedHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}

    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


def main():
    folder = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8015
    handler = functools.partial(IsolatedHandler, directory=folder)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"port {server.server_address[1]}", flush=True)
        print(f"http://127.0.0.1:{server.server_address[1]}/", file=sys.stderr, flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()
