#!/usr/bin/python3
"""Decode every file of a corpus folder with folvane-decode and compare with reference decodes.

    scripts/corpus_check.py --decoder build/dev/bin/folvane-decode bmp [ico ...]
        [--corpus ../shared/corpus] [--tolerance N] [--pages] [--verbose] [--only PATTERN]

The corpus (see its README.md) holds, for each file, a reference PNG decoded by another
program, in stored row order, RGB or RGBA, plus manifest.json with what that program made of
the file. For every file this prints one line when it does not match (all with --verbose)
and a summary per folder:

  match       our pixels equal the reference (within --tolerance per channel)
  differ      same size, some pixel off: max difference and how many pixels
  size        our width or height differs from the reference
  failed      the reference decoded the file, we refused it (our error text shown)
  unscored    a reference marked low-confidence: shown, not counted either way
  rejected    the reference refused the file too; only a crash counts against us here
  CRASH       folvane-decode died from a signal or exited with neither 0 nor 1

References keep the stored row order. Our TIFF decoder turns pages upright by their
Orientation tag, so the first page's reference is turned the same way (manifest
tiff.orientation) before comparing; JPEG references stay as stored, like our decodes.

With --djpeg (JPEG folders) the reference is instead the output of Debian's djpeg with its
default settings for the same file: the same libjpeg, so any difference is ours. djpeg turns
CMYK into RGB with rounding where folvane truncates, so four-component files allow a
difference of 1. The DPI folvane reports is also set against the manifest (see jpeg_dpi).

Run it with Debian's python3 and python3-numpy. PNG and PAM are read here: a file whose
pixels match is confirmed by filtering our pixels the way each reference row was filtered and
comparing the filtered bytes (fast, vectorised); only a mismatch is decoded row by row.
"""
import argparse
import fnmatch
import json
import math
import os
import struct
import subprocess
import sys
import tempfile
import zlib

import numpy as np


def read_png(path):
    """Returns (width, height, channels, bytes) for an 8-bit non-interlaced PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG: " + path)
    pos, idat, palette, trns = 8, [], None, None
    width = height = depth = ctype = interlace = None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = body
        elif kind == b"tRNS":
            trns = body
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if depth != 8 or interlace:
        raise ValueError("unsupported PNG (depth %s, interlace %s): %s" % (depth, interlace, path))
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[ctype]
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    out = bytearray(stride * height)
    prev = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        ftype = raw[start]
        row = bytearray(raw[start + 1:start + 1 + stride])
        unfilter(row, prev, ftype, channels)
        out[y * stride:(y + 1) * stride] = row
        prev = row
    if ctype == 3:
        return expand_palette(width, height, out, palette, trns)
    if ctype in (0, 4):
        grey = channels == 1
        expanded = bytearray()
        for i in range(0, len(out), channels):
            g = out[i]
            expanded += bytes((g, g, g)) if grey else bytes((g, g, g, out[i + 1]))
        return width, height, 3 if grey else 4, bytes(expanded)
    return width, height, channels, bytes(out)


def png_chunks(path):
    """Returns (width, height, colour type, raw filtered rows) of an 8-bit non-interlaced PNG."""
    with open(path, "rb") as f:
        data = f.read()
    pos, idat, head = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", data[pos + 8:pos + 8 + 13])
        elif kind == b"IDAT":
            idat.append(data[pos + 8:pos + 8 + length])
        pos += 12 + length
    width, height, depth, ctype, _, _, interlace = head
    return width, height, depth, ctype, interlace, zlib.decompress(b"".join(idat))


def filtered_equal(rgba, width, height, ref_path):
    """True when our RGBA pixels, filtered row by row as the reference PNG was, give its bytes."""
    w, h, depth, ctype, interlace, raw = png_chunks(ref_path)
    if (w, h) != (width, height) or depth != 8 or interlace or ctype not in (2, 6):
        return False
    ch = 3 if ctype == 2 else 4
    ours = np.frombuffer(rgba, dtype=np.uint8).reshape(h, w, 4)[:, :, :ch].astype(np.int16)
    ours = ours.reshape(h, w * ch)
    rows = np.frombuffer(raw, dtype=np.uint8).reshape(h, w * ch + 1)
    types, ref = rows[:, 0], rows[:, 1:].astype(np.int16)
    prev = np.vstack([np.zeros((1, w * ch), np.int16), ours[:-1]])
    left = np.hstack([np.zeros((h, ch), np.int16), ours[:, :-ch]])
    upleft = np.hstack([np.zeros((h, ch), np.int16), prev[:, :-ch]])
    p = left + prev - upleft
    pa, pb, pc = np.abs(p - left), np.abs(p - prev), np.abs(p - upleft)
    paeth = np.where((pa <= pb) & (pa <= pc), left, np.where(pb <= pc, prev, upleft))
    predictors = [np.zeros_like(ours), left, prev, (left + prev) >> 1, paeth]
    if types.max() > 4:
        return False
    pred = np.choose(types[:, None].astype(np.intp), predictors)
    return bool(np.array_equal((ours - pred) & 255, ref))


def unfilter(row, prev, ftype, bpp):
    n = len(row)
    if ftype == 1:
        for i in range(bpp, n):
            row[i] = (row[i] + row[i - bpp]) & 255
    elif ftype == 2:
        for i in range(n):
            row[i] = (row[i] + prev[i]) & 255
    elif ftype == 3:
        for i in range(n):
            left = row[i - bpp] if i >= bpp else 0
            row[i] = (row[i] + ((left + prev[i]) >> 1)) & 255
    elif ftype == 4:
        for i in range(n):
            a = row[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            row[i] = (row[i] + pred) & 255


def expand_palette(width, height, indices, palette, trns):
    alpha = trns is not None
    out = bytearray()
    for i in indices:
        out += palette[3 * i:3 * i + 3]
        if alpha:
            out.append(trns[i] if i < len(trns) else 255)
    return width, height, 4 if alpha else 3, bytes(out)


def read_pam(path):
    """Returns (width, height, rgba bytes) of folvane-decode's P7 RGB_ALPHA output."""
    with open(path, "rb") as f:
        data = f.read()
    end = data.index(b"ENDHDR\n") + len(b"ENDHDR\n")
    fields = {}
    for line in data[:end].decode("ascii").splitlines()[1:]:
        parts = line.split(None, 1)
        if len(parts) == 2:
            fields[parts[0]] = parts[1]
    width, height = int(fields["WIDTH"]), int(fields["HEIGHT"])
    if int(fields["DEPTH"]) != 4 or int(fields["MAXVAL"]) != 255:
        raise ValueError("unexpected PAM header in " + path)
    return width, height, data[end:end + width * height * 4]


def compare(ours, ref, tolerance):
    """Returns (pixels off, max channel difference). Fully transparent pixels compare alpha only."""
    _, _, rgba = ours
    _, _, channels, pixels = ref
    off = worst = 0
    for i in range(len(pixels) // channels):
        r = pixels[i * channels:(i + 1) * channels]
        o = rgba[i * 4:i * 4 + 4]
        ref_alpha = r[3] if channels == 4 else 255
        if ref_alpha == 0 and o[3] == 0:
            continue
        diff = max(abs(o[0] - r[0]), abs(o[1] - r[1]), abs(o[2] - r[2]), abs(o[3] - ref_alpha))
        if diff > tolerance:
            off += 1
        worst = max(worst, diff)
    return off, worst


def upright(ref, orientation):
    """The stored-order reference turned by a TIFF orientation 2..8, as our TIFF decoder turns
    the picture: stored row r, column c of a W x H picture is shown at
    2 (r, W-1-c)  3 (H-1-r, W-1-c)  4 (H-1-r, c)  5 (c, r)  6 (c, H-1-r)  7 (W-1-c, H-1-r)  8 (W-1-c, r)."""
    width, height, channels, pixels = ref
    a = np.frombuffer(pixels, dtype=np.uint8).reshape(height, width, channels)
    t = a.transpose(1, 0, 2)
    turned = {2: a[:, ::-1], 3: a[::-1, ::-1], 4: a[::-1], 5: t, 6: t[:, ::-1], 7: t[::-1, ::-1],
              8: t[::-1]}[orientation]
    return turned.shape[1], turned.shape[0], channels, np.ascontiguousarray(turned).tobytes()


def tiff_orientation(entry, frame):
    """The TIFF orientation our decoder applies to this page (the manifest knows the first's)."""
    if frame != 0 or not entry["path"].startswith("tiff/"):
        return 1
    value = (entry.get("tiff") or {}).get("orientation") or 1
    return value if 2 <= value <= 8 else 1


def decode(decoder, path, frame, pam):
    cmd = [decoder] + (["--frame", str(frame)] if frame else []) + [path, pam]
    try:
        run = subprocess.run(cmd, capture_output=True, timeout=120)
    except subprocess.TimeoutExpired:
        return None, "timeout"
    if run.returncode not in (0, 1):
        tail = run.stderr.decode("utf-8", "replace").strip().splitlines()[-1:]
        return None, "exit %d %s" % (run.returncode, " ".join(tail)[:200])
    line = run.stdout.decode("utf-8", "replace").strip().splitlines()
    try:
        return json.loads(line[-1]), None
    except (IndexError, ValueError):
        return None, "no JSON line"


def targets(entry, pages):
    """(frame, reference path) pairs to check for one manifest entry."""
    refs = entry.get("refs", {})
    if entry["path"].startswith("ico/"):
        first = refs.get("entries", {}).get("0")
        if not first and (entry.get("ico") or {}).get("count") == 1:
            first = refs.get("main")  # a one-entry icon: its main reference is entry 0
        return [(0, first)] if first else []
    out = [(0, refs["main"])] if refs.get("main") else []
    if pages:
        out += [(int(k), v) for k, v in sorted(refs.get("pages", {}).items(), key=lambda p: int(p[0]))]
    return out


def check_entry(args, corpus, entry, tmp):
    path = os.path.join(corpus, entry["path"])
    accepted = entry.get("accepted") or entry.get("ref_decoder") is not None
    results = []
    todo = targets(entry, args.pages) or [(0, None)]
    for frame, ref in todo:
        pam = os.path.join(tmp, "out.pam")
        if os.path.exists(pam):
            os.remove(pam)
        info, crash = decode(args.decoder, path, frame, pam)
        label = entry["path"] + ("#%d" % frame if frame else "")
        if crash:
            results.append(("CRASH", label, crash))
            continue
        if ref is None:
            status = "rejected" if not accepted else "failed"
            results.append((status, label, "ours: ok=%s %s" % (info["ok"], info.get("lastError", ""))))
            continue
        if not info["ok"]:
            results.append(("failed", label, info.get("lastError", "")))
            continue
        if not os.path.exists(pam):
            # The load reported success but left no pixels (an icon whose entry is a PNG).
            results.append(("failed", label, "no picture written"))
            continue
        ours = read_pam(pam)
        # References keep the stored row order; TIFF pages come out of our decoder upright.
        orientation = tiff_orientation(entry, frame)
        if orientation == 1 and args.tolerance == 0 and \
                filtered_equal(ours[2], ours[0], ours[1], os.path.join(corpus, ref)):
            results.append(("match", label, ""))
            continue
        theirs = read_png(os.path.join(corpus, ref))
        if orientation != 1:
            theirs = upright(theirs, orientation)
        if ours[:2] != theirs[:2]:
            results.append(("size", label, "ours %dx%d, reference %dx%d" % (ours[0], ours[1], theirs[0], theirs[1])))
            continue
        off, worst = compare(ours, theirs, args.tolerance)
        status = "match" if off == 0 else "differ"
        if entry.get("ref_confidence") == "low" and status != "match":
            status = "unscored"
        results.append((status, label, "" if off == 0 else "%d pixels off, max %d" % (off, worst)))
    return results


def read_pnm(data):
    """Returns (width, height, channels, bytes) of binary PGM/PPM data."""
    fields, pos = [], 2
    while len(fields) < 3:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(int(data[pos:end]))
        pos = end
    channels = 1 if data[:2] == b"P5" else 3
    width, height, _ = fields
    pixels = data[pos + 1:pos + 1 + width * height * channels]
    if channels == 1:
        pixels = bytes(b for g in pixels for b in (g, g, g))
    return width, height, 3, pixels


INCHES_PER_UNIT = {1: 1.0, 2: 1.0, 3: 0.3937007784843445, 4: 0.03937007859349251,
                   5: 3.937007932108827e-05}


def jpeg_dpi(entry, info):
    """Our DPI set against the manifest: the reference program prefers a JFIF density in
    inches to the EXIF resolution, folvane takes EXIF first, so where both exist they may
    differ by design ("exif-first"). Returns (status, detail)."""
    ours = [info.get("dpiX"), info.get("dpiY")]
    ref = entry.get("dpi")
    exif = entry.get("exif") or {}
    unit = INCHES_PER_UNIT.get(exif.get("resolution_unit"))
    x, y = exif.get("x_resolution"), exif.get("y_resolution")
    if ref is not None and [int(v) for v in ref] == ours:
        return "dpi-agree", ""
    if unit and isinstance(x, (int, float)) and isinstance(y, (int, float)) and x > 0 and y > 0:
        if ours == [int(x / unit), int(y / unit)]:
            return "dpi-exif-first", "ours %s from EXIF, reference %s" % (ours, ref)
    jfif = (entry.get("jpeg") or {}).get("jfif") or {}
    if not info.get("exif", {}).get("isExif") and jfif.get("unit") == 2:
        expected = [int(math.floor(d * 2.54 + 0.5)) for d in jfif["density"]]
        if ours == expected:
            return "dpi-jfif-cm", "dots per centimetre converted, ours %s" % ours
    if info.get("exif", {}).get("isExif") and ours == [96, 96]:
        return "dpi-exif-first", "EXIF without usable resolution: JFIF not consulted, ours 96"
    if ref is None and ours == [96, 96]:
        return "dpi-default", "reference has none, ours 96"
    return "dpi-differ", "ours %s, reference %s (%s)" % (ours, ref, entry.get("dpi_source"))


def check_entry_djpeg(args, corpus, entry, tmp):
    """One JPEG against djpeg's decode of the same bytes, plus its DPI."""
    path = os.path.join(corpus, entry["path"])
    pam = os.path.join(tmp, "out.pam")
    if os.path.exists(pam):
        os.remove(pam)
    info, crash = decode(args.decoder, path, 0, pam)
    label = entry["path"]
    if crash:
        return [("CRASH", label, crash)]
    run = subprocess.run(["djpeg", path], capture_output=True, timeout=120)
    if not run.stdout:  # djpeg exits 2 after warnings (damaged data) but still writes the picture
        status = "rejected" if not info["ok"] else "extra"
        return [(status, label, "djpeg: %s; ours: ok=%s %s" % (
            run.stderr.decode("utf-8", "replace").strip()[:80], info["ok"], info.get("lastError", "")))]
    if not info["ok"]:
        return [("failed", label, info.get("lastError", ""))]
    ours = read_pam(pam)
    theirs = read_pnm(run.stdout)
    if ours[:2] != theirs[:2]:
        return [("size", label, "ours %dx%d, djpeg %dx%d" % (ours[0], ours[1], theirs[0], theirs[1]))]
    components = (entry.get("jpeg", {}).get("sof") or {}).get("components")
    tolerance = max(args.tolerance, 1 if components == 4 else 0)
    a = np.frombuffer(ours[2], dtype=np.uint8).reshape(-1, 4)[:, :3].astype(np.int16)
    b = np.frombuffer(theirs[3], dtype=np.uint8).reshape(-1, 3).astype(np.int16)
    diff = np.abs(a - b).max(axis=1)
    off, worst = int((diff > tolerance).sum()), int(diff.max(initial=0))
    status = "match" if off == 0 else "differ"
    detail = "" if off == 0 else "%d pixels off, max %d" % (off, worst)
    if status == "match" and worst:
        detail = "within %d (CMYK rounding)" % worst
    dpi_status, dpi_detail = jpeg_dpi(entry, info)
    return [(status, label, detail), (dpi_status, label, dpi_detail)]


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("folders", nargs="+", help="corpus folders: bmp, ico, jpeg, tiff")
    ap.add_argument("--decoder", required=True, help="path of folvane-decode")
    ap.add_argument("--corpus", default=os.path.join(os.path.dirname(__file__), "..", "..", "shared", "corpus"))
    ap.add_argument("--tolerance", type=int, default=0)
    ap.add_argument("--pages", action="store_true", help="also check TIFF pages 1..15")
    ap.add_argument("--only", default="*", help="glob on the corpus path")
    ap.add_argument("--verbose", action="store_true")
    ap.add_argument("--djpeg", action="store_true",
                    help="JPEG: compare with djpeg's decode of the same file instead of the PNGs")
    args = ap.parse_args()
    corpus = os.path.abspath(args.corpus)
    with open(os.path.join(corpus, "manifest.json")) as f:
        manifest = json.load(f)
    crashed = False
    with tempfile.TemporaryDirectory() as tmp:
        for folder in args.folders:
            counts = {}
            for entry in manifest["files"]:
                if not entry["path"].startswith(folder + "/") or not fnmatch.fnmatch(entry["path"], args.only):
                    continue
                check = check_entry_djpeg if args.djpeg and folder == "jpeg" else check_entry
                for status, label, detail in check(args, corpus, entry, tmp):
                    counts[status] = counts.get(status, 0) + 1
                    crashed |= status == "CRASH"
                    if args.verbose or status not in ("match", "rejected", "dpi-agree"):
                        print("%-9s %s %s" % (status, label, detail))
            print("%s: %s" % (folder, ", ".join("%s %d" % kv for kv in sorted(counts.items()))))
    return 1 if crashed else 0


if __name__ == "__main__":
    sys.exit(main())
