#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Serves the site folder with the headers the page relies on: cross-origin
isolation for the question's handshake, and a policy that lets the page load
nothing but its own files."""
import functools
import http.server
import sys

POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; worker-src 'self'; "
          "connect-src 'self'; img-src 'self' blob:; style-src 'self'; object-src 'none'; "
          "base-uri 'none'; form-action 'none'")


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".webmanifest": "application/manifest+json"}

    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Content-Security-Policy", POLICY)
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()


def main():
    folder, port = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 8080
    handler = functools.partial(Handler, directory=folder)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"Serving {folder} at http://localhost:{port}/", flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()
