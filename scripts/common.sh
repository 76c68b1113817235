# Shared by run.sh and test.sh: installs what is missing, prepares a Wine
# prefix of the build's own, and builds. Sourced, not run.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ORVALIS_BUILD:-$ROOT/build}
PACKAGES="cmake make python3 mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth imagemagick fonts-wqy-microhei googletest"

# Extra package names may be given for one script's own needs.
install_missing() {
    local missing=()
    for p in $PACKAGES "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo apt-get update -q
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
    fi
}

# Sets WINEPREFIX to a prefix of the build's own for the DPI given (96 when
# none is), made on first use: $BUILD/wineprefix at 96, else
# $BUILD/wineprefix-<DPI>dpi. The DPI can only be set before any program
# starts in a prefix, hence one prefix for each.
prepare_wine() {
    local dpi=${1:-96}
    export WINEPREFIX=$BUILD/wineprefix
    [ "$dpi" -eq 96 ] || WINEPREFIX=$BUILD/wineprefix-${dpi}dpi
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEDEBUG=-all
    export WINEARCH=win64
    # The marker names the settings' checksum, so changed settings apply anew.
    local marker="$WINEPREFIX/.orvalis-ready-$(md5sum < "$ROOT/scripts/wine-settings.reg" | cut -c1-8)"
    if [ ! -f "$marker" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        # Chinese text needs a font that has it (and Wine 10 draws captions
        # in its own Tahoma, which needs a link to it); a crash must end the
        # program at once instead of waiting in the debugger; a virtual
        # desktop spares every window's destruction a wait on the X server.
        wine regedit /S "$ROOT/scripts/wine-settings.reg" >/dev/null 2>&1
        if [ "$dpi" -ne 96 ]; then
            printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\n"LogPixels"=dword:%08x\n' \
                "$dpi" "$dpi" > "$WINEPREFIX/dpi.reg"
            wine regedit /S "$WINEPREFIX/dpi.reg" >/dev/null 2>&1
        fi
        wineserver -w
        touch "$marker"
    fi
    # Wine draws the caption buttons with Marlett; without it in the prefix
    # they show as the letters "0 1 r".
    local marlett=/usr/share/wine/fonts/marlett.ttf
    if [ -f "$marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
        cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
}

build() {
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
    cmake --build "$BUILD" -j"$(nproc)"
}
