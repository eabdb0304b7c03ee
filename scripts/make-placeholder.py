#!/usr/bin/python3
"""Draws res/无法显示.bmp, the picture the preview shows for files it does not open, and its
English twin res/no-preview.bmp for the English window.

Needs Debian's python3-pil and fonts-noto-cjk. Run from anywhere:
    /usr/bin/python3 scripts/make-placeholder.py
"""
import pathlib

from PIL import Image, ImageDraw, ImageFont

WIDTH, HEIGHT = 240, 300
FONT = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
RES = pathlib.Path(__file__).resolve().parent.parent / "res"
# The picture's file and its two lines, in each language of the window.
PICTURES = [
    ("无法显示.bmp", "无法显示", "此文件不能预览", 34),
    ("no-preview.bmp", "Cannot show", "No preview of this file", 30),
]


def centred(draw, y, text, font, fill):
    left, top, right, bottom = draw.textbbox((0, 0), text, font=font)
    draw.text(((WIDTH - (right - left)) / 2 - left, y), text, font=font, fill=fill)


def draw_picture(name, title, line, title_size):
    image = Image.new("RGB", (WIDTH, HEIGHT), (244, 244, 244))
    draw = ImageDraw.Draw(image)
    draw.rectangle((0, 0, WIDTH - 1, HEIGHT - 1), outline=(200, 200, 200), width=2)

    # A picture frame with a torn corner and a cross: "no picture here".
    frame = (70, 60, 170, 140)
    draw.rectangle(frame, outline=(150, 150, 150), width=4)
    draw.polygon([(120, 120), (140, 100), (160, 125), (170, 112), (170, 140), (92, 140)],
                 fill=(190, 190, 190))
    draw.ellipse((88, 76, 108, 96), fill=(190, 190, 190))
    draw.line((150, 150, 190, 190), fill=(200, 60, 60), width=8)
    draw.line((190, 150, 150, 190), fill=(200, 60, 60), width=8)

    centred(draw, 200, title, ImageFont.truetype(FONT, title_size, index=2), (70, 70, 70))
    centred(draw, 250, line, ImageFont.truetype(FONT, 18, index=2), (110, 110, 110))
    image.save(RES / name, "BMP")


def main():
    for picture in PICTURES:
        draw_picture(*picture)


if __name__ == "__main__":
    main()
