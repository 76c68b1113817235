#!/usr/bin/env bash
# Installs what is missing, builds, and runs the tree-fill benchmark under
# Wine: the fill against its floor for a busy desktop of 1,000, 3,000 and
# 10,000 windows, and for grids, long lists of children and many top-level
# windows of 2,500 to 7,500 in three orders. Shapes may be named to run only
# those: desktop grid children toplevel.
source "$(dirname "$0")/common.sh"
install_missing
build -DORVALIS_TESTS=ON
prepare_wine
cd "$BUILD/bench"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'wineserver -p; wine bench_fill.exe "$@"; rc=$?; wineserver -k || true; exit $rc' bench "$@"
