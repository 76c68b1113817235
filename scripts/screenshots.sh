#!/usr/bin/env bash
# Runs the end-to-end tests with pictures on, and saves the main window and
# the details dialog, in Chinese and in English, as docs/*.png.
source "$(dirname "$0")/common.sh"
install_missing
build -DORVALIS_TESTS=ON
prepare_wine
shots="$BUILD/screenshots"
mkdir -p "$shots"
cd "$BUILD"
ORVALIS_SCREENSHOTS="Z:$(echo "$shots" | tr / '\\')" xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wineserver -p
    wine tests/program_tests.exe --gtest_filter=EndToEnd.*
    rc=$?; wineserver -k || true; exit $rc'
for picture in "$shots"/*.bmp; do
    convert "$picture" "$ROOT/docs/$(basename "${picture%.bmp}").png"
done
ls "$ROOT"/docs/*.png
