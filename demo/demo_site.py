#!/usr/bin/env python3
"""A small article site on loopback for trying Tessapic without the real site.

    demo_site.py [--port N] [--pictures N]

Serves an article page at /www.artisite.example/a/ac<number> in the shape the real site uses (the
article record assigned in a script element, its first part's HTML holding the picture
addresses) and the pictures it names. Paste the address it prints into the main window.
"""
import argparse
import functools
import http.server
import json
import math
import os
import struct
import sys
import zlib

HOST_NAME = "www.artisite.example"


def png_bytes(width, height, seed):
    """A small landscape picture whose colours depend on seed."""
    hue = (seed * 47) % 360
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            t = y / height
            sky = hue_rgb(hue, 0.45 + 0.4 * t)
            hill = height * (0.70 - 0.25 * math.exp(-((x - width * (0.3 + 0.1 * (seed % 5))) / (width * 0.25)) ** 2))
            if math.hypot(x - width * 0.75, y - height * 0.28) < height * 0.11:
                pixel = (255, 214, 90)
            elif y > hill:
                pixel = (46 + (seed * 13) % 60, 139, 87)
            else:
                pixel = sky
            rows.extend(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


def hue_rgb(hue, light):
    c = (1 - abs(2 * light - 1))
    x = c * (1 - abs((hue / 60) % 2 - 1))
    m = light - c / 2
    r, g, b = [(c, x, 0), (x, c, 0), (0, c, x), (0, x, c), (x, 0, c), (c, 0, x)][int(hue // 60) % 6]
    return tuple(int((v + m) * 255) for v in (r, g, b))


def article_page(base, number, pictures, filler=False):
    first = ["<p>第一部分：示例文章的图片。</p>"]
    # A long article: text around every picture, about 400 bytes each.
    text = "<p>" + "示例文字，" * 24 + "</p>" if filler else ""
    for i in range(1, pictures + 1):
        # Both quoting styles the site uses, and a spaced equals sign now and then.
        if i % 3 == 0:
            first.append(f"<p><img class='pic' src = '{base}/pictures/{i}.png'></p>")
        else:
            first.append(f'<p><img src="{base}/pictures/{i}.png" alt="图{i}"></p>')
        first.append(text)
    record = {
        "articleId": number,
        "title": "示例文章",
        "parts": [
            {"title": "第一部分", "content": "".join(first)},
            {"title": "第二部分", "content": f'<img src="{base}/pictures/99.png">'},
        ],
    }
    return ("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>示例文章</title></head><body>"
            f"<script>window.articleInfo = {json.dumps(record, ensure_ascii=False)};</script>"
            "<div id=\"main\"></div></body></html>").encode("utf-8")


@functools.lru_cache(maxsize=8)
def bench_pattern(size):
    return bytes((i * 31) & 0xFF for i in range(size + 256))


def bench_picture(seed, size):
    """Distinct bytes per picture, cut from one pattern so serving costs no work per request."""
    start = (seed * 7) % 256
    return bench_pattern(size)[start:start + size]


class Handler(http.server.BaseHTTPRequestHandler):
    pictures = 6
    picture_bytes = 0

    def do_GET(self):
        base = f"http://127.0.0.1:{self.server.server_address[1]}"
        path, _, query = self.path.partition("?")
        if path.startswith(f"/{HOST_NAME}/a/ac"):
            body = article_page(base, path.rsplit("ac", 1)[-1], self.pictures, "filler" in query)
            kind = "text/html; charset=utf-8"
        elif path.startswith("/bench/") and self.picture_bytes:
            seed = int("".join(ch for ch in path if ch.isdigit()) or 0)
            body, kind = bench_picture(seed, self.picture_bytes), "image/jpeg"
        elif path.startswith("/pictures/") and path.endswith(".png"):
            seed = int("".join(ch for ch in path if ch.isdigit()) or 0)
            body, kind = png_bytes(320, 200, seed), "image/png"
        else:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=8321)
    parser.add_argument("--pictures", type=int, default=6)
    parser.add_argument("--picture-bytes", type=int, default=0,
                        help="also serve /bench/N.jpg bodies of this size (benchmarks)")
    args = parser.parse_args()
    Handler.pictures = args.pictures
    Handler.picture_bytes = args.picture_bytes
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    print(f"demo article: http://127.0.0.1:{server.server_address[1]}/{HOST_NAME}/a/ac11707267", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
