#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1 with the content types a web app needs.

    web/serve.py FOLDER [PORT]

Port 0 (the default) takes any free one; the address is printed either way.
"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    # Keep-alive, as any real server does, so the page is not timed on
    # opening a connection for every file.
    protocol_version = "HTTP/1.1"
    # Headers and body go out in separate writes; with Nagle's algorithm the
    # body would wait for the browser's delayed acknowledgement of the headers.
    disable_nagle_algorithm = True

    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".html": "text/html; charset=utf-8",
        ".css": "text/css; charset=utf-8",
        ".js": "text/javascript; charset=utf-8",
        ".mjs": "text/javascript; charset=utf-8",
        ".wasm": "application/wasm",
        ".woff2": "font/woff2",
        ".webmanifest": "application/manifest+json",
    }

    def end_headers(self):
        # Every request reaches the server, so a new build is seen at once;
        # offline use is the service worker's business.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, *args):
        pass


class Server(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        # A browser that closes a page while a picture is still coming in
        # hangs up on us; that is not the server's fault.
        if isinstance(sys.exc_info()[1], ConnectionError):
            return
        super().handle_error(request, client_address)


def main():
    folder = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    handler = functools.partial(Handler, directory=folder)
    with Server(("127.0.0.1", port), handler) as server:
        print(f"Serving {folder} at http://127.0.0.1:{server.server_address[1]}/ (Ctrl+C stops)", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
