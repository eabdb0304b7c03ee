#!/usr/bin/env python3
"""Draws where a search finds a phrase in a page of a PDF, as the README's picture shows it.

    docs/search_hit.py PDF PAGE PHRASE OUT.png

Poppler gives the words and their boxes (pdftotext -bbox-layout) and the rendered page
(pdftoppm); the phrase's part of the word that holds it is marked in translucent yellow, and a
strip of the page around it is written as a PNG. Needs only poppler-utils and python3.
"""
import html
import re
import struct
import subprocess
import sys
import zlib

SCALE = 150 / 72  # pixels per point


def find(pdf, page, phrase):
    xml = subprocess.run(["pdftotext", "-bbox-layout", "-f", page, "-l", page, pdf, "-"],
                         capture_output=True, text=True, check=True).stdout
    pattern = r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>'
    for x0, y0, x1, y1, text in re.findall(pattern, xml):
        text = html.unescape(text)
        at = text.find(phrase)
        if at >= 0:
            # The text layer gives every character of a word the same advance.
            x0, x1, n = float(x0), float(x1), len(text)
            width = (x1 - x0) / n
            return x0 + at * width, float(y0), x0 + (at + len(phrase)) * width, float(y1)
    sys.exit(f"{phrase!r} is not on page {page}")


def render(pdf, page):
    ppm = subprocess.run(["pdftoppm", "-f", page, "-l", page, "-r", "150", pdf],
                         capture_output=True, check=True).stdout
    magic, width, height, _maxval, pixels = ppm.split(maxsplit=4)
    assert magic == b"P6"
    return int(width), int(height), bytearray(pixels)


def write_png(path, width, height, rgb):
    rows = b"".join(b"\0" + bytes(rgb[y * width * 3:(y + 1) * width * 3]) for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        out.write(chunk(b"IEND", b""))


def main():
    pdf, page, phrase, output = sys.argv[1:5]
    x0, y0, x1, y1 = (v * SCALE for v in find(pdf, page, phrase))
    width, height, rgb = render(pdf, page)
    for y in range(max(0, int(y0)), min(height, int(y1) + 1)):
        for x in range(max(0, int(x0)), min(width, int(x1) + 1)):
            i = (y * width + x) * 3
            # Yellow over the page, the print showing through.
            rgb[i + 2] = rgb[i + 2] * 2 // 5
    top = max(0, int(y0) - 120)
    bottom = min(height, int(y1) + 120)
    strip = rgb[top * width * 3:bottom * width * 3]
    write_png(output, width, bottom - top, strip)


if __name__ == "__main__":
    main()
