#!/usr/bin/env python3
"""Draws the application icon at the sizes of the desktop's icon theme
(icons/hicolor/NxN/apps/folvane.png), from the same shapes as folvane.png, and the same
shapes once more as a scalable picture (icons/hicolor/scalable/apps/folvane.svg).
Small sizes take more samples per pixel, so thin lines blend instead of vanishing.

Run from this folder: python3 make_icons.py
"""
import os

import make_pictures

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def scaled_shade(size):
    factor = 256 / size

    def shade(x, y):
        return make_pictures.icon_shade(x * factor, y * factor)

    return shade


def hills_path():
    """The green hills' top edge of icon_shade, as a path across the photograph."""
    points = []
    for step in range(0, 119):
        x = 26 + step
        y = 104 - 26 * ((x - 20) / 130) ** 0.5 * (1 - (x - 20) / 180)
        points.append(f"{x},{y:.2f}")
    return "M26,126 L" + " L".join(points) + " L144,126 Z"


def text_rects(text, left, top, scale):
    rects = []
    for index, letter in enumerate(text):
        for gy, line in enumerate(make_pictures.FONT[letter]):
            for gx, bit in enumerate(line):
                if bit == "1":
                    x = left + (index * 6 + gx) * scale
                    y = top + gy * scale
                    rects.append(
                        f'<rect x="{x:.2f}" y="{y:.2f}" width="{scale}" height="{scale}"/>'
                    )
    return "".join(rects)


def svg():
    lines = "".join(
        f'<rect x="92" y="{b}" width="{78 if b == 166 else 114}" height="7"/>'
        for b in (112, 130, 148, 166)
    )
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
<defs><clipPath id="photo"><rect x="26" y="28" width="118" height="98" rx="6"/></clipPath>
<clipPath id="sheet"><path d="M82,58 H188 L228,98 V232 A12,12 0 0 1 216,244 H82 A12,12 0 0 1 70,232 V70 A12,12 0 0 1 82,58 Z"/></clipPath></defs>
<path fill="#141e32" fill-opacity="0.25" d="M87,64 H193 L233,104 V238 A12,12 0 0 1 221,250 H87 A12,12 0 0 1 75,238 V76 A12,12 0 0 1 87,64 Z"/>
<rect x="20" y="22" width="130" height="110" rx="10" fill="#f0f4fa"/>
<g clip-path="url(#photo)"><rect x="26" y="28" width="118" height="98" fill="#4a80c4"/>
<circle cx="112" cy="56" r="14" fill="#ffd65c"/><path fill="#40965c" d="{hills_path()}"/></g>
<g clip-path="url(#sheet)"><rect x="70" y="58" width="158" height="186" fill="#607496"/>
<rect x="72.5" y="60.5" width="153" height="181" rx="10" fill="#fcfcff"/>
<path fill="#c4d0e2" d="M188,58 V98 H228 Z"/></g>
<g fill="#96a4ba">{lines}</g>
<rect x="88" y="186" width="122" height="42" rx="6" fill="#d02a30"/>
<g fill="#ffffff">{text_rects("PDF", 105, 193, 4.3)}</g>
</svg>
"""


if __name__ == "__main__":
    folder = os.path.join("icons", "hicolor", "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "folvane.svg"), "w") as out:
        out.write(svg())
    for size in SIZES:
        make_pictures.SAMPLES = max(4, 64 // size)
        folder = os.path.join("icons", "hicolor", f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        rows = make_pictures.render(size, size, scaled_shade(size), True)
        make_pictures.write_png(os.path.join(folder, "folvane.png"), size, size, rows, True)
