#!/usr/bin/env bash
# Takes pictures of every page at the designed, smallest and maximised
# window sizes on a virtual 1920×1080 screen, against a demo server on
# loopback: page-screenshots.sh [build-dir] [folder] (default build,
# build/screenshots). Needs Xvfb and ImageMagick's import.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/${1:-build}
folder=${2:-$build/screenshots}
cmake --build "$build" --target mivra-page-tour >/dev/null
mkdir -p "$folder"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1920x1080x24" "$build/app/mivra-page-tour" "$folder"
