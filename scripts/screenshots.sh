#!/usr/bin/env bash
# Runs Orvalis in Chinese and then in English (the satellite beside it),
# opens the details of a node by double-clicking it, and saves the main
# window and the details dialog as docs/*.png.
source "$(dirname "$0")/common.sh"
install_missing xdotool
build -DORVALIS_TESTS=OFF
prepare_wine
cd "$BUILD"
export ROOT
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wineserver -p
    shoot() {
        wine explorer /desktop=shots,900x640 orvalis.exe &
        sleep 6
        import -window root -crop 900x640+0+0 "$ROOT/docs/main-$1.png"
        # The first node of the tree (Orvalis itself), in the dialog centred on
        # the desktop.
        xdotool mousemove 280 150 click --repeat 2 --delay 80 1
        sleep 3
        import -window root -crop 900x640+0+0 "$ROOT/docs/details-$1.png"
        wineserver -k; sleep 1
    }
    shoot zh
    cp satellite/orvalis.exe.mui orvalis.exe.mui
    shoot en
    rm -f orvalis.exe.mui'
ls "$ROOT"/docs/*.png
