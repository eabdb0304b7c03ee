#!/usr/bin/python3
"""Scores of bench/curved_pages.sh: Tesseract's character error rate on the corrected pages of
make_curved_pages, with and without the curve model, and the correction's time and memory.

    curved_scores.py WORK

WORK holds lines-NN.txt (the drawn lines), and for each page and each way of correcting it
(curved-dewarp, curved-plain, flat-dewarp, flat-plain) NAME-NN.txt (Tesseract's text),
NAME-NN.json (correct_photo's line), NAME-NN.kb (its peak memory, /usr/bin/time's %M) and
NAME-NN.png (the corrected page). The error rate is
counted as bench/document_scores.py counts it: for each drawn line, the fewest edits that turn it
into some stretch of the recognised text, over the drawn characters.

How straight the lines came out: each curved page, at 100 dpi and scaled to the flat page's size,
is compared with the flat page's correction by dense optical flow (Farneback); one homography is
fitted to the flow at the flat page's text pixels (RANSAC), and what the homography does not
explain is how far each text pixel still lies from its place. Printed: the share of text pixels
within 2 pixels of it, and the share within 2 pixels up or down alone (what straightening the
lines mends; a squeeze towards a gutter moves pixels sideways), with and without the curve model.

Open books (spread-NN.jpg) are scored page by page the same way: spread-WAY-NN.png and
spread-WAY-NN-2.png against lines-NN.txt and lines-NN-right.txt, and against flat-plain-NN.png
and flatright-plain-NN.png for straightness.
"""
import glob
import json
import os
import statistics
import sys

import cv2
import numpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from document_scores import text_edits  # noqa: E402  (the same count of errors)

STRAIGHT_DPI = 100
STRAIGHT_PIXELS = 2.0

WAYS = ("curved-dewarp", "curved-plain", "flat-dewarp", "flat-plain")


def cer(lines, text):
    edits, total = text_edits(lines, text)
    return 100.0 * edits / total


def page_at(path, dpi, size=None):
    """A corrected page in grey at STRAIGHT_DPI (or at `size`, width and height)."""
    grey = cv2.imread(path, cv2.IMREAD_GRAYSCALE)
    if size is None:
        size = (round(grey.shape[1] * STRAIGHT_DPI / dpi), round(grey.shape[0] * STRAIGHT_DPI / dpi))
    return cv2.resize(grey, size, interpolation=cv2.INTER_AREA)


def shares_in_place(page, flat):
    """(in place, in place vertically): the shares of `flat`'s text pixels that `page` holds within
    STRAIGHT_PIXELS of their place, beyond what one homography explains."""
    flow = cv2.calcOpticalFlowFarneback(flat, page, None, 0.5, 5, 31, 5, 7, 1.5,
                                        cv2.OPTFLOW_FARNEBACK_GAUSSIAN)
    ys, xs = numpy.nonzero(flat < 128)
    if len(xs) < 100:
        return None, None
    where = numpy.stack([xs, ys], 1).astype(numpy.float32)
    moved = where + flow[ys, xs]
    every = max(1, len(where) // 20000)
    homography, _ = cv2.findHomography(where[::every], moved[::every], cv2.RANSAC, 2.0)
    if homography is None:
        return None, None
    expected = cv2.perspectiveTransform(where.reshape(-1, 1, 2), homography).reshape(-1, 2)
    off = moved - expected
    return (float(numpy.mean(numpy.hypot(off[:, 0], off[:, 1]) <= STRAIGHT_PIXELS)),
            float(numpy.mean(numpy.abs(off[:, 1]) <= STRAIGHT_PIXELS)))


def straightness(work, page):
    """{way: shares in place} for the curved page corrected both ways, against flat-plain."""
    with open(os.path.join(work, f"flat-plain-{page}.json"), encoding="utf-8") as f:
        flat_dpi = json.load(f)["dpi"]
    flat = page_at(os.path.join(work, f"flat-plain-{page}.png"), flat_dpi)
    size = (flat.shape[1], flat.shape[0])
    return {way: shares_in_place(page_at(os.path.join(work, f"{way}-{page}.png"), 0, size), flat)
            for way in ("curved-dewarp", "curved-plain")}


def spread_scores(work):
    """Each open book's two pages, with and without the curve model: CER against the drawn lines
    and straightness against the same page corrected lying flat (the left page is flat-NN's)."""
    books = sorted(p[-6:-4] for p in glob.glob(os.path.join(work, "spread-??.jpg")))
    if not books:
        return
    rates = {way: [] for way in ("dewarp", "plain")}
    shares = {(way, axis): [] for way in ("dewarp", "plain") for axis in (0, 1)}
    times = []
    peaks = {way: [] for way in ("dewarp", "plain")}
    print("book  page  CER dewarp  CER plain   in place, vertically (dewarp; plain)")
    for book in books:
        halves = ((1, "", f"lines-{book}.txt", f"flat-plain-{book}"),
                  (2, "-2", f"lines-{book}-right.txt", f"flatright-plain-{book}"))
        with open(os.path.join(work, f"spread-dewarp-{book}.json"), encoding="utf-8") as f:
            times.append(json.loads(f.readline())["ms"])
        for way, values in peaks.items():
            with open(os.path.join(work, f"spread-{way}-{book}.kb"), encoding="utf-8") as f:
                values.append(int(f.read().split()[-1]))
        for number, suffix, truth, flat_name in halves:
            with open(os.path.join(work, truth), encoding="utf-8") as f:
                lines = f.read().splitlines()
            with open(os.path.join(work, f"{flat_name}.json"), encoding="utf-8") as f:
                flat_dpi = json.load(f)["dpi"]
            flat = page_at(os.path.join(work, f"{flat_name}.png"), flat_dpi)
            row, places = [], []
            for way in ("dewarp", "plain"):
                name = os.path.join(work, f"spread-{way}-{book}{suffix}")
                if not os.path.exists(name + ".png"):
                    row.append("   not split")
                    places.append("not split")
                    rates[way].append(100.0)
                    for axis in (0, 1):
                        shares[(way, axis)].append(0.0)
                    continue
                with open(name + ".txt", encoding="utf-8") as f:
                    rate = cer(lines, f.read())
                rates[way].append(rate)
                row.append(f"{rate:11.1f}%")
                place = shares_in_place(page_at(name + ".png", 0, (flat.shape[1], flat.shape[0])),
                                        flat)
                for axis in (0, 1):
                    shares[(way, axis)].append(place[axis] or 0.0)
                places.append(f"{percent(place[0])}, {percent(place[1])}")
            print(f"{book:4}  {number:4}  " + " ".join(row) + "   " + "; ".join(places))
    print("spreads: CER median " + "  ".join(f"{way} {statistics.median(v):.1f}%"
                                             for way, v in rates.items()) +
          f"   ms median (both pages, curve model) {statistics.median(times):.0f}")
    print("spreads: peak MB median (both pages)  " +
          "  ".join(f"{way} {statistics.median(v) / 1024:.0f}" for way, v in peaks.items()))
    for axis, what in ((0, "of their place"), (1, "of their place up or down")):
        print(f"spreads: text pixels within {STRAIGHT_PIXELS:.0f} px {what}, median (lowest): " +
              "  ".join(f"{way} {100 * statistics.median(v):.1f}% ({100 * min(v):.1f}%)"
                        for (way, a), v in shares.items() if a == axis))


def percent(share):
    return "failed" if share is None else f"{100 * share:.1f}%"


def main():
    work = sys.argv[1]
    pages = sorted(p[-6:-4] for p in glob.glob(os.path.join(work, "lines-??.txt")))
    table = {way: [] for way in WAYS}
    times = {way: [] for way in WAYS}
    peaks = {way: [] for way in WAYS}
    shares = {(way, axis): [] for way in ("curved-dewarp", "curved-plain") for axis in (0, 1)}
    print("page  " + "  ".join(f"{way:>14}" for way in WAYS) +
          "   in place, vertically (dewarp; plain)   straightened (curved, flat)")
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
            with open(os.path.join(work, f"{way}-{page}.kb"), encoding="utf-8") as f:
                peaks[way].append(int(f.read().split()[-1]))
            if way.endswith("dewarp"):
                marks.append(f"{facts['straightened']} sag {facts['line_sag']:.4f}")
            row.append(f"{rate:13.1f}%")
        place = straightness(work, page)
        for (way, axis), values in shares.items():
            values.append(place[way][axis] or 0.0)
        columns = "; ".join(f"{percent(place[way][0])}, {percent(place[way][1])}"
                            for way in ("curved-dewarp", "curved-plain"))
        print(f"{page:4}  " + "  ".join(row) + f"   {columns:<37}  " + ", ".join(marks))
    print("CER median " + "  ".join(f"{way} {statistics.median(table[way]):.1f}%"
                                    for way in WAYS))
    print("ms median  " + "  ".join(f"{way} {statistics.median(times[way]):.0f}"
                                    for way in WAYS))
    print("peak MB median  " + "  ".join(f"{way} {statistics.median(peaks[way]) / 1024:.0f}"
                                         for way in WAYS))
    for axis, what in ((0, "of their place"), (1, "of their place up or down")):
        print(f"text pixels within {STRAIGHT_PIXELS:.0f} px {what} at {STRAIGHT_DPI} dpi, median "
              "(lowest): " + "  ".join(f"{way} {100 * statistics.median(v):.1f}% "
                                       f"({100 * min(v):.1f}%)"
                                       for (way, a), v in shares.items() if a == axis))
    spread_scores(work)


if __name__ == "__main__":
    main()
