#!/usr/bin/env bash
# Installs what is missing, builds Orvalis and its tests, and runs every
# test under Wine on a virtual display.
source "$(dirname "$0")/common.sh"
install_missing
build -DORVALIS_TESTS=ON
prepare_wine
cd "$BUILD"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    # Wine starts its services and desktop with the first program that makes
    # a window; started from a test they would hold ctest'"'"'s output pipe open
    # until the time-out. Start them here, away from ctest.
    wineserver -p
    wine tests/style_tests.exe --gtest_filter=AddFlagRow.* </dev/null >/dev/null 2>&1
    ctest --output-on-failure "$@"
    rc=$?
    wineserver -k || true
    exit $rc' ctest "$@"
