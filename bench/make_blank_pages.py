#!/usr/bin/python3
"""Pages for measuring the blank-page rule (bench/blank_pages.sh), made apart from the tests'
pages and by other means: 300-dpi scans (grey, PNG and JPEG) and phone photos (colour JPEG) of
pages that are blank but not clean, and of pages that are nearly blank but hold something a
person put there.

    make_blank_pages.py FOLDER [COUNT]     (default 10 of each kind: 40 pages)

Writes FOLDER/scans/ and FOLDER/photos/, each with blank-NN-<what> and mark-NN-<what> files.
The same arguments always give the same files.
"""
import os
import sys

import cv2
import numpy as np
from PIL import Image, ImageDraw, ImageFont

A4 = (2480, 3508)  # 300 dpi
PHOTO = (3024, 4032)
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SERIF = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
WORDS = ("The contract is signed by both parties on the date below and kept by each of "
         "them in one copy with the same force ").split()


def paper(rng, level):
    """Paper with its grain: fine noise over a soft, blotchy texture."""
    h, w = A4[1], A4[0]
    soft = cv2.GaussianBlur(rng.normal(0, 1, (h // 8, w // 8)).astype(np.float32), (0, 0), 3)
    soft = cv2.resize(soft, (w, h), interpolation=cv2.INTER_CUBIC) * 2.5
    return np.float32(level) + soft + rng.normal(0, 1.5, (h, w)).astype(np.float32)


def text_image(rng, mirrored):
    """A page of printed text as ink coverage 0..1 (the other side of the sheet)."""
    image = Image.new("L", A4, 0)
    draw = ImageDraw.Draw(image)
    font = ImageFont.truetype(SERIF, 42)
    y = 300
    while y < A4[1] - 350:
        line = " ".join(rng.choice(WORDS, 9))
        draw.text((260, y), line, fill=255, font=font)
        y += 64
    ink = np.asarray(image, np.float32) / 255
    return ink[:, ::-1] if mirrored else ink


def blankish(rng, kind, page):
    h, w = page.shape
    if kind == 0:  # scanner noise and a lamp that fades to one side
        page += rng.normal(0, rng.uniform(3, 6), page.shape).astype(np.float32)
        page *= np.linspace(1.0, rng.uniform(0.9, 0.96), w, dtype=np.float32)[None, :]
        return "noise"
    if kind == 1:  # a faint streak the length of the page, from dust on a feeder's glass
        x = int(rng.uniform(0.2, 0.8) * w)
        width = int(rng.integers(2, 5))
        page[:, x:x + width] *= 1 - rng.uniform(0.06, 0.14)
        return "streak"
    if kind == 2:  # the other side's text showing through, soft and mirrored
        ink = cv2.GaussianBlur(text_image(rng, True), (0, 0), rng.uniform(2.0, 3.5))
        page *= 1 - ink * rng.uniform(0.05, 0.10)
        return "showthrough"
    if kind == 3:  # recycled paper: grain and fibres
        for _ in range(60):
            x, y = int(rng.uniform(0.05, 0.95) * w), int(rng.uniform(0.05, 0.95) * h)
            size = int(rng.integers(1, 4))
            page[y:y + size, x:x + size] *= 0.7
        page += rng.normal(0, 4, page.shape).astype(np.float32)
        return "grain"
    # all of it at once, lighter
    ink = cv2.GaussianBlur(text_image(rng, True), (0, 0), 3.0)
    page *= 1 - ink * 0.05
    x = int(rng.uniform(0.2, 0.8) * w)
    page[int(h * 0.3):int(h * 0.9), x:x + 2] *= 0.93
    page += rng.normal(0, 4, page.shape).astype(np.float32)
    return "mixed"


def handwritten_word(rng, draw, x, y, colour):
    """A cursive-looking word: loops of a pen along a line, about 25 mm long."""
    points = []
    for i in range(int(rng.integers(5, 9))):
        cx = x + i * 45
        for t in np.linspace(0, 2 * np.pi, 14):
            points.append((cx + 22 * np.sin(t) + t * 5, y - 30 * abs(np.cos(t / 2)) +
                           rng.normal(0, 2)))
    draw.line(points, fill=colour, width=int(rng.integers(3, 5)), joint="curve")


def mark(rng, kind, page):
    """Draws the mark on an RGB overlay; returns what it is."""
    h, w = page.shape[:2]
    overlay = Image.fromarray(np.uint8(np.clip(page, 0, 255)))
    draw = ImageDraw.Draw(overlay)
    x = int(rng.uniform(0.15, 0.7) * w)
    y = int(rng.uniform(0.15, 0.8) * h)
    if kind == 0:
        handwritten_word(rng, draw, x, y, (30, 40, 120))
        what = "word"
    elif kind == 1:  # a page number, 9 pt, centred 15 mm above the bottom edge
        font = ImageFont.truetype(FONT, 37)
        draw.text((w // 2, h - 177), str(int(rng.integers(2, 40))), fill=(20, 20, 20), font=font,
                  anchor="mm")
        what = "pagenumber"
    elif kind == 2:  # a small stamp, 13 mm across, faded red
        r = 77
        draw.ellipse((x - r, y - r, x + r, y + r), outline=(200, 60, 60), width=5)
        font = ImageFont.truetype(FONT, 30)
        draw.text((x, y), "PAID", fill=(200, 60, 60), font=font, anchor="mm")
        what = "stamp"
    elif kind == 3:  # a pencil tick, 6 mm, soft graphite
        g = int(rng.uniform(150, 170))
        draw.line([(x, y), (x + 25, y + 30), (x + 70, y - 40)], fill=(g, g, g), width=5,
                  joint="curve")
        what = "pencil"
    else:  # initials scribbled in a corner of the text area
        handwritten_word(rng, draw, int(w * 0.75), int(h * 0.88), (10, 10, 10))
        what = "initials"
    return np.asarray(overlay, np.float32), what


def photo_of(rng, sheet, index):
    """The sheet photographed: a dark desk around it in some, perspective, uneven light, a warm
    cast, a little blur and sensor noise."""
    w, h = PHOTO
    # The desk's texture is made small and enlarged: it is only there to be no paper.
    grain = cv2.GaussianBlur(rng.normal(0, 12, (h // 8, w // 8)).astype(np.float32), (0, 0), 1)
    desk = np.float32(rng.choice([(70, 55, 40), (45, 45, 50), (110, 90, 70)]))[None, None, :] + \
        cv2.resize(grain, (w, h), interpolation=cv2.INTER_LINEAR)[..., None]
    margin = 0 if index % 3 == 0 else rng.uniform(0.03, 0.08)
    sx, sy = w * margin, h * margin
    jitter = lambda: rng.uniform(-0.015, 0.015) * w * (margin > 0)
    target = np.float32([[sx + jitter(), sy + jitter()], [w - sx + jitter(), sy + jitter()],
                         [w - sx + jitter(), h - sy + jitter()], [sx + jitter(), h - sy + jitter()]])
    if margin == 0:  # the sheet fills the frame: a little of it is outside
        target = np.float32([[-20, -20], [w + 20, -20], [w + 20, h + 20], [-20, h + 20]])
    source = np.float32([[0, 0], [A4[0], 0], [A4[0], A4[1]], [0, A4[1]]])
    matrix = cv2.getPerspectiveTransform(source, target)
    warped = cv2.warpPerspective(sheet, matrix, (w, h), flags=cv2.INTER_LINEAR)
    inside = cv2.warpPerspective(np.ones(sheet.shape[:2], np.float32), matrix, (w, h))[..., None]
    picture = warped * inside + desk * (1 - inside)
    # Light and vignetting vary slowly: made at an eighth of the size and enlarged.
    yy, xx = np.mgrid[0:h // 8, 0:w // 8].astype(np.float32) * 8
    angle = rng.uniform(0, 2 * np.pi)
    ramp = (np.cos(angle) * xx / w + np.sin(angle) * yy / h)
    light = 1 - rng.uniform(0.08, 0.2) * (ramp - ramp.min()) / (np.ptp(ramp) + 1e-6)
    vignette = 1 - 0.12 * (((xx - w / 2) / w) ** 2 + ((yy - h / 2) / h) ** 2) * 4
    shade = cv2.resize(light * vignette, (w, h), interpolation=cv2.INTER_LINEAR)
    picture *= shade[..., None] * np.float32([1.0, 0.96, 0.88])
    picture = cv2.GaussianBlur(picture, (0, 0), 0.9)
    picture += rng.normal(0, 3, picture.shape).astype(np.float32)
    return np.uint8(np.clip(picture, 0, 255))


def write(path, pixels, jpeg):
    if jpeg:
        cv2.imwrite(path, cv2.cvtColor(pixels, cv2.COLOR_RGB2BGR) if pixels.ndim == 3 else pixels,
                    [cv2.IMWRITE_JPEG_QUALITY, 88])
    else:
        cv2.imwrite(path, pixels)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    for kind in ("scans", "photos"):
        os.makedirs(os.path.join(folder, kind), exist_ok=True)
    rng = np.random.default_rng(20261210)
    for i in range(count):
        for blank in (True, False):
            for kind in ("scans", "photos"):
                page = paper(rng, rng.uniform(225, 242) if kind == "scans" else 236)
                if blank:
                    what = blankish(rng, i % 5, page)
                    rgb = np.repeat(page[..., None], 3, axis=2)
                else:
                    page += rng.normal(0, 3, page.shape).astype(np.float32)
                    rgb, what = mark(rng, i % 5, np.repeat(page[..., None], 3, axis=2))
                name = f"{'blank' if blank else 'mark'}-{i:02d}-{what}"
                if kind == "scans":
                    grey = np.uint8(np.clip(rgb.mean(axis=2), 0, 255))
                    jpeg = i % 2 == 1
                    write(os.path.join(folder, kind, name + (".jpg" if jpeg else ".png")), grey,
                          jpeg)
                else:
                    photo = photo_of(rng, np.clip(rgb, 0, 255), i)
                    write(os.path.join(folder, kind, name + ".jpg"), photo, True)


if __name__ == "__main__":
    main()
