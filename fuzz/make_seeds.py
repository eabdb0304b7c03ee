#!/usr/bin/env python3
"""Writes the fuzz seed corpora: small valid files of each kind the decoders read.

    fuzz/make_seeds.py [OUTDIR]        (default: fuzz/corpus beside this script)

BMP, ICO, PNG and TIFF files are assembled here byte by byte; JPEGs are encoded by cjpeg (Debian's
libjpeg-turbo-progs) from pictures made here, in the variants the decoders branch on; the
JPEG-compressed and CCITT TIFFs are recoded from assembled ones by tiffcp (libtiff-tools). Every
picture is a small gradient, so each seed stays well under 4 KiB and runs fast.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

W, H = 8, 6


def gradient_rgb(w=W, h=H):
    return bytes(v for y in range(h) for x in range(w)
                 for v in ((x * 255) // max(w - 1, 1), (y * 255) // max(h - 1, 1), 128))


# ---- BMP -------------------------------------------------------------------------------------
def bmp_info_header(w, h, bits, compression=0, colours=0, size=40, image_size=0):
    head = struct.pack("<IiiHHIIiiII", size, w, h, 1, bits, compression, image_size,
                       2835, 2835, colours, 0)
    return head + bytes(size - 40) if size > 40 else head


def bmp_file(info, palette, pixels):
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + palette + pixels


def bmp_rows(w, h, bits, pixel):
    stride = ((w * bits + 31) // 32) * 4
    out = bytearray()
    for y in range(h):
        row = bytearray(stride)
        for x in range(w):
            value = pixel(x, y)
            if bits == 24:
                row[x * 3:x * 3 + 3] = bytes(value)
            elif bits == 32:
                row[x * 4:x * 4 + 4] = bytes(value) + b"\xff"
            elif bits == 16:
                row[x * 2:x * 2 + 2] = struct.pack("<H", value)
            elif bits == 8:
                row[x] = value
            elif bits == 4:
                row[x // 2] |= value << (4 if x % 2 == 0 else 0)
            elif bits == 1:
                row[x // 8] |= value << (7 - x % 8)
        out += row
    return bytes(out)


def grey_palette(n, entry=4):
    return b"".join(bytes((i * 255 // (n - 1),) * 3) + b"\0" * (entry - 3) for i in range(n))


def bmp_seeds():
    rgb = lambda x, y: (x * 30, y * 40, 200)
    seeds = {
        "rgb24.bmp": bmp_file(bmp_info_header(W, H, 24), b"", bmp_rows(W, H, 24, rgb)),
        "rgb32.bmp": bmp_file(bmp_info_header(W, H, 32), b"", bmp_rows(W, H, 32, rgb)),
        "topdown24.bmp": bmp_file(bmp_info_header(W, -H, 24), b"", bmp_rows(W, H, 24, rgb)),
        "pal8.bmp": bmp_file(bmp_info_header(W, H, 8, colours=256), grey_palette(256),
                             bmp_rows(W, H, 8, lambda x, y: x * 16 + y)),
        "pal4.bmp": bmp_file(bmp_info_header(W, H, 4, colours=16), grey_palette(16),
                             bmp_rows(W, H, 4, lambda x, y: (x + y) % 16)),
        "pal1.bmp": bmp_file(bmp_info_header(W, H, 1, colours=2), grey_palette(2),
                             bmp_rows(W, H, 1, lambda x, y: (x + y) % 2)),
        "rgb555.bmp": bmp_file(bmp_info_header(W, H, 16), b"",
                               bmp_rows(W, H, 16, lambda x, y: (x << 10) | (y << 5) | 7)),
        "v5.bmp": bmp_file(bmp_info_header(W, H, 24, size=124), b"", bmp_rows(W, H, 24, rgb)),
    }
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    seeds["rgb565.bmp"] = bmp_file(bmp_info_header(W, H, 16, compression=3), masks,
                                   bmp_rows(W, H, 16, lambda x, y: (x << 11) | (y << 5) | 3))
    rle8 = bytes([4, 1, 4, 2, 0, 0, 0, 3, 5, 6, 7, 0, 0, 2, 1, 1, 3, 9, 0, 1])
    seeds["rle8.bmp"] = bmp_file(bmp_info_header(W, H, 8, compression=1, colours=256,
                                                 image_size=len(rle8)), grey_palette(256), rle8)
    rle4 = bytes([4, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 2, 2, 1, 6, 0xAB, 0, 1])
    seeds["rle4.bmp"] = bmp_file(bmp_info_header(W, H, 4, compression=2, colours=16,
                                                 image_size=len(rle4)), grey_palette(16), rle4)
    core = struct.pack("<IHHHH", 12, W, H, 1, 8)
    seeds["os2core.bmp"] = bmp_file(core, grey_palette(256, entry=3),
                                    bmp_rows(W, H, 8, lambda x, y: x * y))
    seeds["headerless.dib"] = bmp_info_header(W, H, 24) + bmp_rows(W, H, 24, rgb)
    return seeds


# ---- ICO -------------------------------------------------------------------------------------
def ico_entry_bitmap(w, h, bits, pixel):
    colours = {1: 2, 4: 16, 8: 256}.get(bits, 0)
    info = bmp_info_header(w, h * 2, bits, colours=colours)
    palette = grey_palette(colours) if colours else b""
    xor = bmp_rows(w, h, bits, pixel)
    mask = bmp_rows(w, h, 1, lambda x, y: 1 if x == 0 else 0)
    return info + palette + xor + mask


def ico_file(entries, kind=1):
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    body = b""
    for w, h, bits, data in entries:
        out += struct.pack("<BBBBHHII", w, h, 0, 0, 1, bits, len(data), offset + len(body))
        body += data
    return out + body


def ico_seeds():
    rgb = lambda x, y: (x * 30, y * 30, 90)
    e24 = ico_entry_bitmap(W, W, 24, rgb)
    e32 = ico_entry_bitmap(W, W, 32, rgb)
    e8 = ico_entry_bitmap(W, W, 8, lambda x, y: x * 8 + y)
    e4 = ico_entry_bitmap(W, W, 4, lambda x, y: (x + y) % 16)
    e1 = ico_entry_bitmap(W, W, 1, lambda x, y: (x ^ y) & 1)
    return {
        "ico24.ico": ico_file([(W, W, 24, e24)]),
        "ico32.ico": ico_file([(W, W, 32, e32)]),
        "ico8_4_1.ico": ico_file([(W, W, 8, e8), (W, W, 4, e4), (W, W, 1, e1)]),
        "cursor.cur": ico_file([(W, W, 24, e24)], kind=2),
        "png_entry.ico": ico_file([(W, W, 32, png_seeds()["rgba8.png"]), (W, W, 24, e24)]),
    }


# ---- PNG -------------------------------------------------------------------------------------
def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png_file(w, h, bits, colour_type, rows, interlaced=False, extra=b""):
    """A PNG whose rows (filter byte 0 each) are compressed as given; interlaced files pass
    their seven passes' rows in order."""
    head = struct.pack(">IIBBBBB", w, h, bits, colour_type, 0, 0, 1 if interlaced else 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", head) + extra +
            png_chunk(b"IDAT", zlib.compress(b"".join(b"\0" + r for r in rows))) +
            png_chunk(b"IEND", b""))


def png_rows(w, h, channels, bits=8, y_list=None):
    out = []
    for y in (y_list if y_list is not None else range(h)):
        samples = [(x * 37 + y * 11 + c * 71) % (1 << bits) for x in range(w) for c in range(channels)]
        if bits == 16:
            out.append(b"".join(struct.pack(">H", v * 257 % 65536) for v in samples))
        elif bits == 8:
            out.append(bytes(samples))
        else:
            row = bytearray((w * channels * bits + 7) // 8)
            for i, v in enumerate(samples):
                row[i * bits // 8] |= v << (8 - bits - i * bits % 8)
            out.append(bytes(row))
    return out


def adam7_rows(w, h, channels):
    rows = []
    for x0, y0, dx, dy in ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4),
                           (1, 0, 2, 2), (0, 1, 1, 2)):
        pw = (w - x0 + dx - 1) // dx
        ys = list(range(y0, h, dy))
        if pw > 0 and ys:
            rows += png_rows(pw, len(ys), channels, y_list=ys)
    return rows


def png_seeds():
    palette = png_chunk(b"PLTE", bytes(v for i in range(16) for v in (i * 16, 255 - i * 16, i * 8)))
    trns = png_chunk(b"tRNS", bytes(255 - i * 15 for i in range(16)))
    text = png_chunk(b"tEXt", b"Comment\0a seed") + png_chunk(b"zTXt", b"Title\0\0" + zlib.compress(b"x" * 64))
    phys = png_chunk(b"pHYs", struct.pack(">IIB", 11811, 11811, 1))
    return {
        "grey1.png": png_file(W, H, 1, 0, png_rows(W, H, 1, 1)),
        "grey8_text.png": png_file(W, H, 8, 0, png_rows(W, H, 1), extra=text + phys),
        "grey16.png": png_file(W, H, 16, 0, png_rows(W, H, 1, 16)),
        "grey_alpha.png": png_file(W, H, 8, 4, png_rows(W, H, 2)),
        "rgb8.png": png_file(W, H, 8, 2, png_rows(W, H, 3)),
        "rgb16_trns.png": png_file(W, H, 16, 2, png_rows(W, H, 3, 16),
                                   extra=png_chunk(b"tRNS", struct.pack(">HHH", 0, 257 * 71, 257 * 142))),
        "rgba8.png": png_file(W, H, 8, 6, png_rows(W, H, 4)),
        "rgba8_interlaced.png": png_file(W, H, 8, 6, adam7_rows(W, H, 4), interlaced=True),
        "palette4_trns.png": png_file(W, H, 4, 3, png_rows(W, H, 1, 4), extra=palette + trns),
    }


# ---- TIFF ------------------------------------------------------------------------------------
def tiff_file(w, h, samples, bits, photometric, data, compression=1, extra=(), big_endian=False,
              tile=None, predictor=None):
    """An uncompressed/Deflate TIFF with one strip (or one tile), assembled by hand."""
    e = ">" if big_endian else "<"
    if compression == 8:
        data = zlib.compress(data)
    entries = [(256, 3, 1, w), (257, 3, 1, h), (258, 3, samples, [bits] * samples),
               (259, 3, 1, compression), (262, 3, 1, photometric), (274, 3, 1, 1),
               (277, 3, 1, samples), (282, 5, 1, (72, 1)), (283, 5, 1, (72, 1)),
               (296, 3, 1, 2)]
    if tile:
        entries += [(322, 3, 1, tile[0]), (323, 3, 1, tile[1]), (324, 4, 1, 0),
                     (325, 4, 1, len(data))]
    else:
        entries += [(273, 4, 1, 0), (278, 3, 1, h), (279, 4, 1, len(data))]
    if predictor:
        entries.append((317, 3, 1, predictor))
    entries += list(extra)
    entries.sort(key=lambda t: t[0])
    header = (b"MM" if big_endian else b"II") + struct.pack(e + "HI", 42, 8)
    ifd_size = 2 + 12 * len(entries) + 4
    extra_at = 8 + ifd_size
    extra_blob = b""
    data_at = None
    fields = []
    sizes = {3: 2, 4: 4, 5: 8}
    for tag, kind, count, value in entries:
        values = value if isinstance(value, list) else ([value] if kind != 5 else [value])
        if kind == 5:
            blob = b"".join(struct.pack(e + "II", *v) for v in values)
        else:
            blob = b"".join(struct.pack(e + ("H" if kind == 3 else "I"), v) for v in values)
        fields.append([tag, kind, count, blob])
    for f in fields:
        if len(f[3]) > 4:
            f.append(extra_at + len(extra_blob))
            extra_blob += f[3]
            if len(extra_blob) % 2:
                extra_blob += b"\0"
    data_at = extra_at + len(extra_blob)
    ifd = struct.pack(e + "H", len(fields))
    for f in fields:
        tag, kind, count, blob = f[:4]
        if tag in (273, 324):
            blob = struct.pack(e + "I", data_at)
        if len(f) == 5:
            ifd += struct.pack(e + "HHII", tag, kind, count, f[4])
        else:
            ifd += struct.pack(e + "HHI", tag, kind, count) + blob.ljust(4, b"\0")
    ifd += struct.pack(e + "I", 0)
    return header + ifd + extra_blob + data


def tiff_seeds():
    rgb = gradient_rgb()
    grey = bytes((x * 32 + y * 8) & 255 for y in range(H) for x in range(W))
    grey16 = b"".join(struct.pack("<H", x * 4000 + y * 300) for y in range(H) for x in range(W))
    bilevel = bytes([0b10101010] * H)
    colormap = (320, 3, 3 * 256, [i * 257 for i in range(256)] * 3)
    rgba = bytes(v for i in range(W * H) for v in (rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], 200))
    cmyk = bytes(v for i in range(W * H) for v in (i % 255, 40, 80, 10))
    return {
        "rgb.tif": tiff_file(W, H, 3, 8, 2, rgb),
        "rgb_deflate_be.tif": tiff_file(W, H, 3, 8, 2, rgb, compression=8, big_endian=True),
        "grey8.tif": tiff_file(W, H, 1, 8, 1, grey),
        "grey16.tif": tiff_file(W, H, 1, 16, 1, grey16),
        "bilevel_miniswhite.tif": tiff_file(W, H, 1, 1, 0, bilevel),
        "palette8.tif": tiff_file(W, H, 1, 8, 3, grey, extra=[colormap]),
        "rgba.tif": tiff_file(W, H, 4, 8, 2, rgba, extra=[(338, 3, 1, 2)]),
        "cmyk.tif": tiff_file(W, H, 4, 8, 5, cmyk),
        "tiled_grey.tif": tiff_file(16, 16, 1, 8, 1, bytes(range(256)), tile=(16, 16)),
    }


def recoded_tiff_seeds(workdir):
    """TIFFs whose coding libtiff does: JPEG in strips of 16 rows (joined into one JPEG by the
    PDF engine), and CCITT G4 and G3 in one strip (passed through)."""
    w, h = 16, 40
    rgb = bytes(v for y in range(h) for x in range(w) for v in (x * 16, y * 6, 128))
    bilevel = bytes([0b11001010, 0b01010011] * h)
    sources = {"rgb": tiff_file(w, h, 3, 8, 2, rgb), "bilevel": tiff_file(w, h, 1, 1, 0, bilevel)}
    variants = {
        "jpeg_strips.tif": ("rgb", ["-c", "jpeg:90", "-r", "16"]),
        "jpeg_strips_rgb.tif": ("rgb", ["-c", "jpeg:r:90", "-r", "8"]),
        "g4.tif": ("bilevel", ["-c", "g4"]),
        "g3_2d.tif": ("bilevel", ["-c", "g3:2d"]),
    }
    seeds = {}
    for name, (source, args) in variants.items():
        src = os.path.join(workdir, source + ".tif")
        with open(src, "wb") as f:
            f.write(sources[source])
        out = os.path.join(workdir, name)
        try:
            subprocess.run(["tiffcp"] + args + [src, out], check=True, capture_output=True)
        except (OSError, subprocess.CalledProcessError) as ex:
            sys.exit("make_seeds.py needs tiffcp (Debian: libtiff-tools): %s" % ex)
        with open(out, "rb") as f:
            seeds[name] = f.read()
    return seeds


# ---- JPEG ------------------------------------------------------------------------------------
def exif_app1(orientation=6, big_endian=False):
    e = ">" if big_endian else "<"
    entries = [(0x010F, 2, 6, b"Maker\0"), (0x0112, 3, 1, struct.pack(e + "H", orientation)),
               (0x011A, 5, 1, None), (0x0128, 3, 1, struct.pack(e + "H", 2))]
    tiff = (b"MM" if big_endian else b"II") + struct.pack(e + "HI", 42, 8)
    ifd = struct.pack(e + "H", len(entries))
    after = 8 + 2 + 12 * len(entries) + 4
    blob = b""
    for tag, kind, count, value in entries:
        if kind == 5:
            ifd += struct.pack(e + "HHII", tag, kind, count, after + len(blob))
            blob += struct.pack(e + "II", 300, 1)
        elif len(value) > 4:
            ifd += struct.pack(e + "HHII", tag, kind, count, after + len(blob))
            blob += value
        else:
            ifd += struct.pack(e + "HHI", tag, kind, count) + value.ljust(4, b"\0")
    payload = b"Exif\0\0" + tiff + ifd + struct.pack(e + "I", 0) + blob
    return b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload


def jpeg_seeds(workdir):
    ppm = os.path.join(workdir, "in.ppm")
    pgm = os.path.join(workdir, "in.pgm")
    with open(ppm, "wb") as f:
        f.write(b"P6 16 12 255\n" + gradient_rgb(16, 12))
    with open(pgm, "wb") as f:
        f.write(b"P5 16 12 255\n" + bytes((x * 16) & 255 for y in range(12) for x in range(16)))
    variants = {
        "baseline.jpg": ["-quality", "75", ppm],
        "progressive.jpg": ["-progressive", ppm],
        "grey.jpg": ["-grayscale", pgm],
        "restart.jpg": ["-restart", "1", ppm],
        "subsample_444.jpg": ["-sample", "1x1", ppm],
        "arithmetic.jpg": ["-arithmetic", ppm],
    }
    seeds = {}
    for name, args in variants.items():
        try:
            seeds[name] = subprocess.run(["cjpeg"] + args, check=True, capture_output=True).stdout
        except (OSError, subprocess.CalledProcessError) as ex:
            sys.exit("make_seeds.py needs cjpeg (Debian: libjpeg-turbo-progs): %s" % ex)
    base = seeds["baseline.jpg"]
    seeds["exif_orientation6.jpg"] = base[:2] + exif_app1(6) + base[2:]
    seeds["exif_motorola.jpg"] = base[:2] + exif_app1(3, big_endian=True) + base[2:]
    comment = b"a comment"
    seeds["comment.jpg"] = base[:2] + b"\xff\xfe" + struct.pack(">H", len(comment) + 2) + comment + base[2:]
    return seeds


def jpeg_damaged_seeds(jpeg):
    """Files whose markers are damaged the way phones and editors damage them, for the repair."""
    def before(data, marker, junk):
        at = data.find(bytes([0xFF, marker]), 2)
        return data[:at] + junk + data[at:]
    return {
        "junk_before_dqt.jpg": before(jpeg["baseline.jpg"], 0xDB, b"junk"),
        "stray_ff00_header.jpg": before(jpeg["baseline.jpg"], 0xC4, b"\xff\x00\xff\x00"),
        "no_end_marker.jpg": jpeg["baseline.jpg"][:-2],
        "progressive_junk.jpg": before(jpeg["progressive.jpg"], 0xDA, b"\x00\x01"),
        "arithmetic_junk.jpg": before(jpeg["arithmetic.jpg"], 0xDB, b"\x07"),
        "exif6_junk.jpg": before(jpeg["exif_orientation6.jpg"], 0xDB, b"\x00\x00\x00"),
    }


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
    with tempfile.TemporaryDirectory() as tmp:
        kinds = {"bmp": bmp_seeds(), "ico": ico_seeds(), "png": png_seeds(),
                 "tiff": {**tiff_seeds(), **recoded_tiff_seeds(tmp)}, "jpeg": jpeg_seeds(tmp)}
    kinds["jpeg_damaged"] = jpeg_damaged_seeds(kinds["jpeg"])
    for kind, seeds in kinds.items():
        os.makedirs(os.path.join(out, kind), exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(out, kind, name), "wb") as f:
                f.write(data)
        print("%s: %d seeds" % (kind, len(seeds)))


if __name__ == "__main__":
    main()
