#!/usr/bin/python3
"""Phone photos of printed pages for timing runs (bench/blank_cost.sh): 12-megapixel colour
JPEGs (3024 x 4032) of a sheet of text on a desk, in uneven light, with sensor noise. Every
photo holds text, so none of them is a blank page.

    make_phone_photos.py FOLDER [COUNT]     (default 40 photos)

Writes FOLDER/photo-NN.jpg; the same arguments always give the same files.
"""
import os
import sys

import cv2
import numpy as np
from PIL import Image, ImageDraw, ImageFont

SHEET = (2480, 3508)  # A4 at 300 dpi
PHOTO = (3024, 4032)
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
WORDS = ("Minutes of the meeting held on the first Monday of the month in the office of the "
         "board with every member present and the accounts read aloud").split()


def sheet_of(rng):
    """A page of text: a heading, paragraphs of words and a page number."""
    image = Image.new("L", SHEET, int(rng.uniform(232, 246)))
    draw = ImageDraw.Draw(image)
    body = ImageFont.truetype(FONT, 40)
    draw.text((260, 250), " ".join(rng.choice(WORDS, 4)).title(),
              fill=20, font=ImageFont.truetype(FONT, 72))
    y = 420
    while y < SHEET[1] - 400:
        if rng.random() < 0.12:  # a paragraph break
            y += 60
            continue
        draw.text((260, y), " ".join(rng.choice(WORDS, 10)), fill=int(rng.uniform(10, 50)),
                  font=body)
        y += 58
    draw.text((SHEET[0] // 2 - 20, SHEET[1] - 220), str(int(rng.integers(1, 99))), fill=30,
              font=body)
    return np.asarray(image, np.float32)


def photographed(rng, sheet):
    """The sheet on a desk, seen at a slight angle, in light that falls off to one side."""
    w, h = PHOTO
    desk = np.float32(rng.choice([(70, 55, 40), (45, 45, 50), (120, 100, 80)]))
    margin = rng.uniform(0.03, 0.08)
    corner = lambda x, y: (x + rng.uniform(-0.02, 0.02) * w, y + rng.uniform(-0.02, 0.02) * h)
    target = np.float32([corner(w * margin, h * margin), corner(w * (1 - margin), h * margin),
                         corner(w * (1 - margin), h * (1 - margin)),
                         corner(w * margin, h * (1 - margin))])
    source = np.float32([[0, 0], [SHEET[0], 0], [SHEET[0], SHEET[1]], [0, SHEET[1]]])
    matrix = cv2.getPerspectiveTransform(source, target)
    grey = cv2.warpPerspective(sheet, matrix, (w, h), flags=cv2.INTER_LINEAR,
                               borderMode=cv2.BORDER_CONSTANT, borderValue=-1)
    inside = (grey >= 0)[..., None]
    picture = np.where(inside, grey[..., None] * np.float32([1.0, 0.97, 0.9]), desk)
    ramp = np.linspace(1.0, rng.uniform(0.8, 0.92), h, dtype=np.float32)[:, None, None]
    picture = picture * ramp + rng.normal(0, 2.5, picture.shape).astype(np.float32)
    return np.uint8(np.clip(picture, 0, 255))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 40
    os.makedirs(folder, exist_ok=True)
    rng = np.random.default_rng(20261210)
    for i in range(count):
        photo = photographed(rng, sheet_of(rng))
        cv2.imwrite(os.path.join(folder, f"photo-{i:02d}.jpg"),
                    cv2.cvtColor(photo, cv2.COLOR_RGB2BGR), [cv2.IMWRITE_JPEG_QUALITY, 90])


if __name__ == "__main__":
    main()
