#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Serves the site folder with the headers the page relies on: cross-origin
isolation for the question's handshake, and a policy that lets the page load
nothing but its own files. With --headers FILE it writes those headers
instead, as a `_headers` file for static hosts that read one (Netlify,
Cloudflare Pages)."""
import functools
import http.server
import sys

POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; worker-src 'self'; "
          "connect-src 'self' blob:; img-src 'self' blob:; style-src 'self'; object-src 'none'; "
          "base-uri 'none'; form-action 'none'")


HEADERS = {
    "Cross-Origin-Opener-Policy": "same-origin",
    "Cross-Origin-Embedder-Policy": "require-corp",
    "Content-Security-Policy": POLICY,
}


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".webmanifest": "application/manifest+json"}

    def end_headers(self):
        for name, value in HEADERS.items():
            self.send_header(name, value)
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()


def write_headers(file_name):
    with open(file_name, "w", encoding="utf-8") as out:
        out.write("/*\n" + "".join(f"  {name}: {value}\n" for name, value in HEADERS.items()))


def main():
    if sys.argv[1] == "--headers":
        write_headers(sys.argv[2])
        return
    folder, port = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 8080
    handler = functools.partial(Handler, directory=folder)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"Serving {folder} at http://localhost:{port}/", flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()
