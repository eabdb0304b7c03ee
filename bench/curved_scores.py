#!/usr/bin/python3
"""Scores of bench/curved_pages.sh: Tesseract's character error rate on the corrected pages of
make_curved_pages, with and without the curve model, and the correction's time.

    curved_scores.py WORK

WORK holds lines-NN.txt (the drawn lines), and for each page and each way of correcting it
(curved-dewarp, curved-plain, flat-dewarp, flat-plain) NAME-NN.txt (Tesseract's text) and
NAME-NN.json (correct_photo's line). The error rate is counted as bench/document_scores.py
counts it: for each drawn line, the fewest edits that turn it into some stretch of the
recognised text, over the drawn characters.
"""
import glob
import json
import os
import statistics
import sys

WAYS = ("curved-dewarp", "curved-plain", "flat-dewarp", "flat-plain")


def characters(text):
    return [c for c in text if not c.isspace()]


def line_edits(line, text):
    previous = [0] * (len(text) + 1)
    for i, x in enumerate(line, 1):
        current = [i]
        for j, y in enumerate(text, 1):
            current.append(min(previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (x != y)))
        previous = current
    return min(previous)


def cer(lines, text):
    found = characters(text)
    expected = [characters(line) for line in lines if line.strip()]
    edits = sum(line_edits(line, found) for line in expected)
    return 100.0 * edits / sum(map(len, expected))


def main():
    work = sys.argv[1]
    pages = sorted(p[-6:-4] for p in glob.glob(os.path.join(work, "lines-*.txt")))
    table = {way: [] for way in WAYS}
    times = {way: [] for way in WAYS}
    print("page  " + "  ".join(f"{way:>14}" for way in WAYS) + "   straightened (curved, flat)")
    for page in pages:
        with open(os.path.join(work, f"lines-{page}.txt"), encoding="utf-8") as f:
            lines = f.read().splitlines()
        row, marks = [], []
        for way in WAYS:
            with open(os.path.join(work, f"{way}-{page}.txt"), encoding="utf-8") as f:
                rate = cer(lines, f.read())
            with open(os.path.join(work, f"{way}-{page}.json"), encoding="utf-8") as f:
                facts = json.load(f)
            table[way].append(rate)
            times[way].append(facts["ms"])
            if way.endswith("dewarp"):
                marks.append(f"{facts['straightened']} sag {facts['line_sag']:.4f}")
            row.append(f"{rate:13.1f}%")
        print(f"{page:4}  " + "  ".join(row) + "   " + ", ".join(marks))
    print("CER median " + "  ".join(f"{way} {statistics.median(table[way]):.1f}%"
                                    for way in WAYS))
    print("ms median  " + "  ".join(f"{way} {statistics.median(times[way]):.0f}"
                                    for way in WAYS))


if __name__ == "__main__":
    main()
