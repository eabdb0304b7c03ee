#!/usr/bin/env python3
"""Draws the application icon (folvane.png, 256 x 256 RGBA) and the corner picture of the main
window (corner.png, 175 x 58 RGB). Shapes are sampled 4 x 4 per pixel for smooth edges.

Run from this folder: python3 make_pictures.py
"""
import struct
import zlib

SAMPLES = 4

# A 5 x 7 pixel font for the few letters the pictures use.
FONT = {
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "o": ["00000", "00000", "01110", "10001", "10001", "10001", "01110"],
    "l": ["01100", "00100", "00100", "00100", "00100", "00100", "01110"],
    "v": ["00000", "00000", "10001", "10001", "10001", "01010", "00100"],
    "a": ["00000", "00000", "01110", "00001", "01111", "10001", "01111"],
    "n": ["00000", "00000", "10110", "11001", "10001", "10001", "10001"],
    "e": ["00000", "00000", "01110", "10001", "11111", "10000", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "D": ["11100", "10010", "10001", "10001", "10001", "10010", "11100"],
    " ": ["00000"] * 7,
}


def write_png(path, width, height, rows, alpha):
    kind = 6 if alpha else 2
    raw = b"".join(b"\0" + bytes(row) for row in rows)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, kind, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def render(width, height, shade, alpha):
    """shade(x, y) gives (r, g, b, a) at a point; returns rows of bytes."""
    rows = []
    n = SAMPLES
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    r, g, b, a = shade(px + (sx + 0.5) / n, py + (sy + 0.5) / n)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            total = acc[3]
            if total > 0:
                color = [round(acc[i] / total) for i in range(3)]
            else:
                color = [0, 0, 0]
            if alpha:
                row.extend(color + [round(255 * total / (n * n))])
            else:
                row.extend(color)
        rows.append(row)
    return rows


def in_round_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def text_hit(x, y, text, left, top, scale):
    """True where the pixel font draws text at (left, top), each font pixel scale units wide."""
    if y < top or y >= top + 7 * scale:
        return False
    col = int((x - left) // scale)
    if x < left or col >= len(text) * 6:
        return False
    glyph = FONT[text[col // 6]]
    gx = col % 6
    gy = int((y - top) // scale)
    return gx < 5 and glyph[gy][gx] == "1"


def icon_shade(x, y):
    # Back: a photograph card (sky, sun, hills), tilted by being offset up and left.
    # Front: a white page with a folded corner, text lines and a red "PDF" band.
    transparent = (0, 0, 0, 0)
    color = transparent
    if in_round_rect(x, y, 20, 22, 150, 132, 10):
        color = (74, 128, 196, 1)
        if (x - 112) ** 2 + (y - 56) ** 2 < 14 ** 2:
            color = (255, 214, 92, 1)
        if y > 104 - 26 * ((x - 20) / 130) ** 0.5 * (1 - (x - 20) / 180):
            color = (64, 150, 92, 1)
        if not in_round_rect(x, y, 26, 28, 144, 126, 6):
            color = (240, 244, 250, 1)
    shadow = in_round_rect(x - 5, y - 6, 70, 58, 228, 244, 12)
    page = in_round_rect(x, y, 70, 58, 228, 244, 12)
    fold = 40
    corner_x, corner_y = 228 - fold, 58 + fold
    if shadow and not page and color == transparent:
        color = (20, 30, 50, 0.25)
    if page:
        in_fold = x > corner_x and y < corner_y
        if in_fold and (x - corner_x) > (y - 58):
            color = color  # cut corner: whatever lies behind
        elif in_fold:
            color = (196, 208, 226, 1)
        else:
            color = (252, 252, 255, 1)
            if 92 <= x < 206 and any(b <= y < b + 7 for b in (112, 130, 148, 166)):
                if not (y >= 166 and x > 170):
                    color = (150, 164, 186, 1)
            if in_round_rect(x, y, 88, 186, 210, 228, 6):
                color = (208, 42, 48, 1)
                if text_hit(x, y, "PDF", 105, 193, 4.3):
                    color = (255, 255, 255, 1)
        if not in_fold and ((x - 70) < 3 or (228 - x) < 3 or (y - 58) < 3 or (244 - y) < 3):
            if in_round_rect(x, y, 70, 58, 228, 244, 12) and not in_round_rect(
                x, y, 72.5, 60.5, 225.5, 241.5, 10
            ):
                color = (96, 116, 150, 1)
    return color


def corner_shade(x, y):
    # A banner: blue gradient, a small page stack on the left, the program's name.
    t = y / 58
    base = (
        round(40 + 30 * t),
        round(82 + 40 * t),
        round(160 + 40 * t),
        1,
    )
    color = base
    for shift, tone in ((6, (200, 214, 236)), (0, (252, 252, 255))):
        if in_round_rect(x - shift, y + shift, 12, 12, 44, 52, 3):
            color = tone + (1,)
    if in_round_rect(x, y, 12, 12, 44, 52, 3):
        if 17 <= x < 39 and any(b <= y < b + 2 for b in (19, 25, 31)):
            color = (150, 164, 186, 1)
        if in_round_rect(x, y, 16, 38, 40, 48, 2):
            color = (208, 42, 48, 1)
    if text_hit(x, y, "Folvane", 56, 14, 2.6):
        color = (255, 255, 255, 1)
    if text_hit(x, y, "PDF", 57, 37, 1.6):
        color = (255, 214, 92, 1)
    return color


if __name__ == "__main__":
    write_png("folvane.png", 256, 256, render(256, 256, icon_shade, True), True)
    write_png("corner.png", 175, 58, render(175, 58, corner_shade, False), False)
