#!/usr/bin/env bash
# Makes the corpus that bench/pdf_vs_peers.sh converts, under bench/corpus/ (not versioned).
# Every picture comes from a fixed seed, so two runs give the same files.
#
#   bench/make_corpus.sh [SCALE]
#
# SCALE (default 1) divides the number of files of each set, for a short disk or a short day.
# Sets:
#   jpeg/   40 photo-like 8-megapixel JPEGs (3264x2448): baseline colour, progressive,
#           greyscale, CMYK, and EXIF orientations 6 and 8 (portrait shots)
#   g4/     40 bilevel 300-dpi A4 scans (2480x3508) as CCITT G4 TIFF
#   tiff/   a mixed TIFF set (2048x1536): RGB LZW, grey Deflate, 16-bit grey, palette, tiled,
#           JPEG-compressed, three-page
# Needs imagemagick, libtiff-tools and python3.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
corpus="$root/bench/corpus"
scale=${1:-1}
for tool in convert tiffcp python3; do
    command -v "$tool" >/dev/null || { echo "make_corpus: $tool is missing" >&2; exit 1; }
done
mkdir -p "$corpus/jpeg" "$corpus/g4" "$corpus/tiff"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A photo-like picture: a plasma fractal grown from a small seed image, with sensor noise.
# OUT is best uncompressed (.miff): compressing 8 megapixels of noise costs more than making them.
photo() { # photo SEED WIDTH HEIGHT OUT
    convert -seed "$1" -size $(($2 / 4))x$(($3 / 4)) plasma:fractal -blur 0x2 \
        -resize "$2x$3!" -attenuate 0.3 +noise Gaussian "$4"
}

# Puts an EXIF APP1 segment holding only an Orientation tag right after the SOI marker.
set_orientation() { # set_orientation FILE VALUE
    python3 - "$1" "$2" <<'PY'
import struct, sys
path, value = sys.argv[1], int(sys.argv[2])
data = open(path, 'rb').read()
tiff = b'II*\x00' + struct.pack('<I', 8) + struct.pack('<H', 1) + \
       struct.pack('<HHII', 0x0112, 3, 1, value) + struct.pack('<I', 0)
body = b'Exif\x00\x00' + tiff
open(path, 'wb').write(data[:2] + b'\xff\xe1' + struct.pack('>H', len(body) + 2) + body + data[2:])
PY
}

count=$((40 / scale))
for ((i = 1; i <= count; i++)); do
    out=$(printf "%s/jpeg/photo-%02d.jpg" "$corpus" "$i")
    [ -s "$out" ] && continue
    photo "$i" 3264 2448 "$tmp/p.miff"
    case $((i % 8)) in
    1) convert "$tmp/p.miff" -interlace JPEG -quality 88 "$out" ;;
    2) convert "$tmp/p.miff" -colorspace Gray -quality 90 "$out" ;;
    3) convert "$tmp/p.miff" -colorspace CMYK -quality 90 "$out" ;;
    4) convert "$tmp/p.miff" -quality 92 "$out" && set_orientation "$out" 6 ;;
    5) convert "$tmp/p.miff" -quality 92 "$out" && set_orientation "$out" 8 ;;
    *) convert "$tmp/p.miff" -quality 92 -sampling-factor 2x2 "$out" ;;
    esac
done

# A page of text: 64 lines of made-up words, and some specks of scan dust.
page_text() { # page_text SEED > text
    python3 - "$1" <<'PY'
import random, sys
r = random.Random(int(sys.argv[1]))
letters = 'etaoinshrdlcumwfgypbvkjxqz'
weights = [12, 9, 8, 8, 7, 7, 6, 6, 6, 4, 4, 3, 3, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1]
for line in range(64):
    words, width = [], 0
    while width < 80:
        word = ''.join(r.choices(letters, weights, k=r.randint(1, 10)))
        words.append(word.capitalize() if r.random() < 0.1 else word)
        width += len(word) + 1
    print(' '.join(words) if r.random() > 0.08 else '')
PY
}
page_dust() { # page_dust SEED > draw commands
    python3 - "$1" <<'PY'
import random, sys
r = random.Random(int(sys.argv[1]))
print('fill black')
for _ in range(400):
    print(f'point {r.randint(0, 2479)},{r.randint(0, 3507)}')
PY
}

for ((i = 1; i <= count; i++)); do
    out=$(printf "%s/g4/scan-%02d.tif" "$corpus" "$i")
    [ -s "$out" ] && continue
    convert -size 2480x3508 xc:white -font DejaVu-Serif -pointsize 40 -fill black \
        -interline-spacing 6 -annotate +240+300 "$(page_text "$i")" \
        -draw "$(page_dust "$i")" -rotate 0.4 -crop 2480x3508+0+0 +repage \
        -threshold 55% -type bilevel -density 300 -units PixelsPerInch -compress Group4 \
        "$tmp/scan.tif"
    mv "$tmp/scan.tif" "$out"
done

kinds=(rgb-lzw grey-deflate grey16 palette tiled jpeg multipage)
per_kind=$(((4 + scale - 1) / scale))
for ((k = 0; k < ${#kinds[@]}; k++)); do
    for ((i = 1; i <= per_kind; i++)); do
        kind=${kinds[$k]}
        out="$corpus/tiff/$kind-$i.tif"
        [ -s "$out" ] && continue
        seed=$((1000 + 10 * k + i))
        photo "$seed" 2048 1536 "$tmp/p.miff"
        case $kind in
        rgb-lzw) convert "$tmp/p.miff" -depth 8 -compress LZW "$out" ;;
        grey-deflate) convert "$tmp/p.miff" -colorspace Gray -depth 8 -compress Zip "$out" ;;
        grey16) convert "$tmp/p.miff" -colorspace Gray -depth 16 -compress Zip "$out" ;;
        palette) convert "$tmp/p.miff" -colors 200 -type Palette -compress LZW "$out" ;;
        tiled) convert "$tmp/p.miff" -depth 8 -compress Zip \
            -define tiff:tile-geometry=256x256 "$out" ;;
        jpeg) convert "$tmp/p.miff" -depth 8 -compress JPEG -quality 90 "$out" ;;
        multipage)
            photo $((seed + 500)) 2048 1536 "$tmp/q.miff"
            photo $((seed + 700)) 2048 1536 "$tmp/r.miff"
            convert "$tmp/p.miff" "$tmp/q.miff" "$tmp/r.miff" -depth 8 -compress LZW "$out" ;;
        esac
    done
done
du -sh "$corpus"/*
