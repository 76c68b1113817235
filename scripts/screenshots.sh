#!/usr/bin/env bash
# Runs Orvalis in Chinese and then in English (the satellite beside it),
# opens the details of a node by double-clicking it, and saves the main
# window and the details dialog as docs/*.png; Orvalis pointing at
# Notepad's status bar, and the menu of Notepad's node; the information
# window beside the tree while pointing at Notepad's text; the message log
# watching Notepad's text while it is typed, and the style editor on
# Notepad's window; then at 144 DPI (150 %) the main window maximized and
# the details over it.
source "$(dirname "$0")/common.sh"
install_missing xdotool
build -DORVALIS_TESTS=OFF
prepare_wine 144
export PREFIX_144=$WINEPREFIX
prepare_wine
cd "$BUILD"
export ROOT
xvfb-run -a -s "-screen 0 1600x1024x24" bash -c '
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
    # Notepad, then Orvalis, on a desktop of the size given.
    with_notepad() {
        wine explorer /desktop=shots,$1 notepad.exe &
        sleep 4
        wine explorer /desktop=shots,$1 orvalis.exe &
        sleep 6
    }
    shoot zh
    # Pointing at Notepad'"'"'s status bar, then the menu of Notepad'"'"'s node.
    with_notepad 900x640
    xdotool key ctrl+f; sleep 0.5
    xdotool mousemove 60 442; sleep 1
    import -window root -crop 900x640+0+0 "$ROOT/docs/pointing.png"
    xdotool key Escape; sleep 0.5
    xdotool mousemove 300 218 click 3; sleep 1
    import -window root -crop 900x640+0+0 "$ROOT/docs/node-menu.png"
    wineserver -k; sleep 1
    # The information window opens beside the tree where the desktop has room.
    with_notepad 1400x800
    xdotool key alt+Return; sleep 1
    xdotool key ctrl+f; sleep 0.5
    xdotool mousemove 200 300; sleep 1
    import -window root -crop 1400x800+0+0 "$ROOT/docs/info.png"
    wineserver -k; sleep 1
    # The log watching Notepad'"'"'s text (found by F3) while text is typed into
    # it; then the style editor on Notepad'"'"'s window, from its node'"'"'s menu.
    with_notepad 1400x800
    xdotool key F3; sleep 1; xdotool type Edit; xdotool key Return Escape; sleep 1
    xdotool key ctrl+m; sleep 2
    xdotool mousemove 200 300 click 1; sleep 0.5
    xdotool type --delay 60 "Hello, log"; sleep 1
    import -window root -crop 1400x800+0+0 "$ROOT/docs/log.png"
    wineserver -k; sleep 1
    with_notepad 1400x800
    xdotool key F3; sleep 1; xdotool type Notepad; xdotool key Return Escape; sleep 1
    xdotool key shift+F10; sleep 1; xdotool key y; sleep 2
    import -window root -crop 1400x800+0+0 "$ROOT/docs/styles.png"
    wineserver -k; sleep 1
    cp satellite/orvalis.exe.mui orvalis.exe.mui
    shoot en
    rm -f orvalis.exe.mui
    export WINEPREFIX=$PREFIX_144
    wineserver -p
    wine explorer /desktop=shots,1280x960 orvalis.exe &
    sleep 6
    # Maximize from the system menu, then open the first node.
    xdotool key alt+space; sleep 1; xdotool key x; sleep 2
    import -window root -crop 1280x960+0+0 "$ROOT/docs/main-144dpi.png"
    xdotool mousemove 150 48 click --repeat 2 --delay 80 1
    sleep 3
    import -window root -crop 1280x960+0+0 "$ROOT/docs/details-144dpi.png"
    wineserver -k'
ls "$ROOT"/docs/*.png
