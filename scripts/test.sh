#!/usr/bin/env bash
# Installs what is missing, builds Orvalis and its tests, and runs every
# test under Wine on a virtual display; the dialog tests run again at
# 144 DPI (150 %), where layouts and column widths must follow.
source "$(dirname "$0")/common.sh"
install_missing
build -DORVALIS_TESTS=ON
prepare_wine 144
export WINEPREFIX_144=$WINEPREFIX
prepare_wine
cd "$BUILD"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    # Wine starts its services and desktop with the first program that makes
    # a window; started from a test they would hold ctest'"'"'s output pipe open
    # until the time-out. Start them here, away from ctest.
    start_wine() {
        wineserver -p
        wine tests/style_tests.exe --gtest_filter=DecodeFlags.* </dev/null >/dev/null 2>&1
    }
    start_wine
    ctest --output-on-failure "$@"
    rc=$?
    wineserver -k || true
    echo "The dialog tests at 144 DPI:"
    export WINEPREFIX=$WINEPREFIX_144
    start_wine
    ctest --output-on-failure -R "^(MainWindow|Details)[.]" "$@" || rc=1
    wineserver -k || true
    exit $rc' ctest "$@"
