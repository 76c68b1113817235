#!/usr/bin/env bash
# Installs what is missing, builds, and runs the benchmarks under Wine. The
# tree fill against its floor for a busy desktop of 1,000, 3,000 and 10,000
# windows, and for grids, long lists of children and many top-level windows
# of 2,500 to 7,500 in three orders; then what the message log costs the
# program it watches. Shapes may be named to run only those (desktop grid
# children toplevel), and "log" for the log's alone.
source "$(dirname "$0")/common.sh"
install_missing
build -DORVALIS_TESTS=ON
prepare_wine
cd "$BUILD/bench"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wineserver -p
    shapes=()
    log=0
    for a in "$@"; do
        if [ "$a" = log ]; then log=1; else shapes+=("$a"); fi
    done
    rc=0
    if [ $# -eq 0 ] || [ ${#shapes[@]} -gt 0 ]; then
        wine bench_fill.exe "${shapes[@]}" || rc=1
    fi
    if [ $# -eq 0 ] || [ $log -eq 1 ]; then
        wine bench_log.exe || rc=1
    fi
    wineserver -k || true
    exit $rc' bench "$@"
