#!/usr/bin/env bash
# Regenerates the bundled sample pages in res/samples: photographed-looking pages as JPEG (colour
# and greyscale) and a bilevel scan as CCITT G4 TIFF, sized to fill an A4 page at the default
# resolution class (0.42 points per pixel). Needs imagemagick and libtiff-tools; the results are
# committed, so neither the build nor the tests need them.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/res/samples
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

w=1416 h=2004
text() {
    cat <<'TXT'
Folvane turns photographed or scanned pages into one PDF. Build an ordered list of images, check each one in the preview, pick the resolution class of the camera, choose where the PDF goes and press the button: every image becomes one A4 page, in list order.

Photographs from a two-megapixel camera are placed larger than those from a sixteen-megapixel one, so that a page photographed at arm's length fills the sheet whatever the camera.

JPEG files go into the PDF as they are, without a second compression; TIFF scans keep their bilevel CCITT data where the PDF can carry it, and everything else is compressed losslessly.
TXT
}

page() { # page NAME TITLE BACKGROUND
    convert -size ${w}x${h} "xc:$3" \
        -font DejaVu-Serif-Bold -pointsize 64 -fill '#222' -annotate +120+220 "$2" \
        -font DejaVu-Serif -pointsize 36 -fill '#333' -interline-spacing 14 \
        -annotate +120+340 "$(text | fold -s -w 64)" \
        -stroke '#555' -strokewidth 3 -draw "line 120,1860 1296,1860" -stroke none \
        -font DejaVu-Sans -pointsize 30 -fill '#444' -annotate +120+1920 "Folvane sample page $1" \
        "$tmp/$1.png"
}

page 1 "Pages into one PDF" '#f3efe6'
page 2 "Choosing a resolution" '#ffffff'
page 3 "Lossless scans" '#ffffff'

# A photograph of a page: warm paper, uneven light, a little sensor noise.
convert "$tmp/1.png" \( -size ${w}x${h} radial-gradient:'#ffffff-#c9c2b4' \) -compose multiply \
    -composite -attenuate 0.08 +noise Gaussian -quality 50 -sampling-factor 2x2 \
    "$out/page-1.jpg"
# A greyscale, progressive photograph.
convert "$tmp/2.png" -colorspace Gray -attenuate 0.05 +noise Gaussian -interlace JPEG \
    -quality 50 "$out/page-2.jpg"
# A bilevel 170 dpi scan as CCITT G4.
convert "$tmp/3.png" -colorspace Gray -threshold 60% -type bilevel \
    -density 170 -units PixelsPerInch \
    -compress Group4 "$tmp/3.tif"
tiffcp -c g4 "$tmp/3.tif" "$out/page-3.tif"
ls -l "$out"
