#!/usr/bin/env bash
# Installs what is missing, builds Orvalis and runs it under Wine. With a
# display (DISPLAY set) it opens there; without one it runs on a virtual
# display and saves a screenshot to build/orvalis.png after a few seconds.
source "$(dirname "$0")/common.sh"
install_missing
build -DORVALIS_TESTS=OFF
prepare_wine
cd "$BUILD"
if [ -n "${DISPLAY:-}" ]; then
    exec wine explorer /desktop=orvalis,1200x900 orvalis.exe
fi
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wine explorer /desktop=orvalis,1200x900 orvalis.exe &
    sleep 8
    import -window root orvalis.png
    echo "Screenshot: $PWD/orvalis.png"
    wineserver -k'
