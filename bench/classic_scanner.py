#!/usr/bin/python3
"""The classic document scanner written with OpenCV, the peer of folvane-pdf --document.

    classic_scanner.py OUT.pdf CORNERS.jsonl PHOTO...

Each photo is read upright (cv2.imread applies the EXIF orientation) and reduced to 500 rows
for finding the page: grey, 5x5 Gaussian blur, Canny (75, 200), all contours by area, largest
first, and the first of the five largest that approxPolyDP (2% of its perimeter)
reduces to four points is the page. Its corners, scaled back to the photo, are ordered by the
sums and differences of their coordinates and the photo is warped to the rectangle they span;
a photo without such a contour is kept whole. The page is made black and white by an adaptive
Gaussian threshold (11-pixel block, offset 10) and all pages are joined into OUT.pdf with
img2pdf, one A4 page each. CORNERS.jsonl gets one line per photo: the file and the four corners
(top-left, top-right, bottom-right, bottom-left, photo pixels) or null where none were found.
"""
import json
import os
import sys
import tempfile

import cv2
import img2pdf
import numpy

FIND_ROWS = 500


def page_contour(photo):
    """The four corners of the page in `photo`'s pixels, or None."""
    ratio = photo.shape[0] / FIND_ROWS
    small = cv2.resize(photo, (max(1, round(photo.shape[1] / ratio)), FIND_ROWS),
                       interpolation=cv2.INTER_AREA)
    grey = cv2.cvtColor(small, cv2.COLOR_BGR2GRAY)
    grey = cv2.GaussianBlur(grey, (5, 5), 0)
    edges = cv2.Canny(grey, 75, 200)
    contours, _ = cv2.findContours(edges, cv2.RETR_LIST, cv2.CHAIN_APPROX_SIMPLE)
    for contour in sorted(contours, key=cv2.contourArea, reverse=True)[:5]:
        approx = cv2.approxPolyDP(contour, 0.02 * cv2.arcLength(contour, True), True)
        if len(approx) == 4:
            return approx.reshape(4, 2).astype(numpy.float64) * ratio
    return None


def ordered(points):
    """top-left, top-right, bottom-right, bottom-left by the sums and differences."""
    sums = points.sum(axis=1)
    differences = numpy.diff(points, axis=1).ravel()
    return numpy.array([points[numpy.argmin(sums)], points[numpy.argmin(differences)],
                        points[numpy.argmax(sums)], points[numpy.argmax(differences)]])


def warped(photo, corners):
    tl, tr, br, bl = corners
    width = int(max(numpy.linalg.norm(br - bl), numpy.linalg.norm(tr - tl)))
    height = int(max(numpy.linalg.norm(tr - br), numpy.linalg.norm(tl - bl)))
    target = numpy.array([[0, 0], [width - 1, 0], [width - 1, height - 1], [0, height - 1]],
                         dtype=numpy.float32)
    matrix = cv2.getPerspectiveTransform(corners.astype(numpy.float32), target)
    return cv2.warpPerspective(photo, matrix, (width, height))


def scanned(photo):
    """The page of one photo, black and white, and the corners it was cut at (or None)."""
    found = page_contour(photo)
    corners = ordered(found) if found is not None else None
    page = warped(photo, corners) if corners is not None else photo
    grey = cv2.cvtColor(page, cv2.COLOR_BGR2GRAY)
    page = cv2.adaptiveThreshold(grey, 255, cv2.ADAPTIVE_THRESH_GAUSSIAN_C, cv2.THRESH_BINARY,
                                 11, 10)
    return page, corners


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: classic_scanner.py OUT.pdf CORNERS.jsonl PHOTO...")
    out, corners_path, photos = sys.argv[1], sys.argv[2], sys.argv[3:]
    with tempfile.TemporaryDirectory() as work, open(corners_path, "w") as corners_file:
        pages = []
        for i, path in enumerate(photos):
            photo = cv2.imread(path, cv2.IMREAD_COLOR)
            if photo is None:
                sys.exit(f"classic_scanner.py: {path}: OpenCV cannot read it")
            page, corners = scanned(photo)
            pages.append(os.path.join(work, f"{i:04d}.png"))
            cv2.imwrite(pages[-1], page)
            found = None if corners is None else [[round(x, 2), round(y, 2)] for x, y in corners]
            corners_file.write(json.dumps({"file": os.path.basename(path), "corners": found}) +
                               "\n")
        a4 = (img2pdf.mm_to_pt(210), img2pdf.mm_to_pt(297))
        with open(out, "wb") as pdf:
            pdf.write(img2pdf.convert(pages, layout_fun=img2pdf.get_layout_fun(a4)))


if __name__ == "__main__":
    main()
