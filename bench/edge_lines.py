#!/usr/bin/env python3
"""The darkest line along a corrected page's border: for each page written by correct_photo
(OUT.png, with its JSON line giving the page's resolution), the mean grey of every pixel row
and column within MM millimetres of each edge; the darkest of them is the page's edge line.
Paper is about 250; a line under 235 shows as a frame in a viewer.

    edge_lines.py RESULTS.jsonl PAGE.png...     (RESULTS: correct_photo's lines, in order)
"""
import json
import sys

import cv2
import numpy

MM = 1.5
LEAST = 235


def darkest_line(grey, dpi):
    band = max(1, int(round(MM * dpi / 25.4)))
    rows = grey.mean(axis=1)
    cols = grey.mean(axis=0)
    lines = numpy.concatenate([rows[:band], rows[-band:], cols[:band], cols[-band:]])
    return float(lines.min())


def main():
    results = [json.loads(line) for line in open(sys.argv[1]) if line.strip()]
    pages = sys.argv[2:]
    dark = 0
    for result, page in zip(results, pages):
        grey = cv2.imread(page, cv2.IMREAD_GRAYSCALE)
        if grey is None:
            print(f"{page}: unreadable")
            continue
        line = darkest_line(grey.astype(numpy.float64), result["dpi"])
        dark += line < LEAST
        print(f"{result['file']}\t{result['content']}\tdarkest edge line {line:.1f}")
    print(f"pages with a dark edge line (< {LEAST}): {dark} of {len(pages)}")


if __name__ == "__main__":
    main()
