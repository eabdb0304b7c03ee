#!/usr/bin/env bash
# Installs the Debian packages Folvane needs to build, test and run; quiet and quick when
# everything is already there. Sourced by run.sh and test.sh.
set -euo pipefail

FOLVANE_PACKAGES=(
  # build
  cmake g++ make ninja-build pkg-config
  # libraries
  libjpeg62-turbo-dev libtiff-dev libpng-dev zlib1g-dev libdeflate-dev libisal-dev qt6-base-dev libgl-dev
  # existing PDFs: their pages copied and the output encrypted (qpdf), drawn for the preview (Poppler)
  libqpdf-dev libpoppler-cpp-dev
  # the optional text layer: Tesseract with its English and simplified-Chinese data
  libtesseract-dev libleptonica-dev tesseract-ocr-eng tesseract-ocr-chi-sim
  # scanning: SANE and its drivers (libsane1 comes with libsane-dev); scanimage for the benchmark
  libsane-dev libsane1 sane-utils
  # document correction: OpenCV's core and image processing modules only
  libopencv-core-dev libopencv-imgproc-dev
  # lossless JPEG crops on the block grid
  libturbojpeg0-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev qpdf poppler-utils libjpeg-turbo-progs
  mupdf-tools colord-data icc-profiles-free
  # the batch test and benchmark: shards of a manifest under GNU parallel
  parallel
  # the text-layer benchmark's peer: the tesseract command and /usr/bin/time for its memory
  tesseract-ocr time bc
  # the document benchmark's peer, the classic OpenCV scanner, and its scores
  python3-opencv python3-numpy img2pdf
  # the source checks (scripts/check_source.py) and the naming check (clang-tidy; its renaming
  # mode also clang-apply-replacements and python3-yaml)
  python3 clang-format clang-tidy clang-tools python3-yaml
  # fuzzing
  clang-14 libclang-rt-14-dev
  # the Debian package and the checks of what it installs
  dpkg-dev file desktop-file-utils appstream man-db bash-completion
  # the catalogues: the window's (lupdate, lrelease) and folvane-pdf's (xgettext, msgfmt); the
  # locales the language tests run under
  qt6-l10n-tools gettext locales
  # running: Chinese captions, Qt's own dialogs in Chinese, opening files
  fonts-noto-cjk qt6-translations-l10n xdg-utils
)

folvane_install_deps() {
  local missing=() p
  for p in "${FOLVANE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}" >&2
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# The locales the language tests run under, made from the locales package's sources when the
# system lacks them (man -L zh_CN needs the locale itself).
folvane_install_locales() {
  local locale sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  for locale in zh_CN en_US; do
    locale -a 2>/dev/null | grep -qx "$locale.utf8" ||
      "${sudo[@]}" localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  folvane_install_deps
  folvane_install_locales
fi
