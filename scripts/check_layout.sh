#!/usr/bin/env bash
# Checks the layout of every C and C++ file: as clang-format 19 lays it out
# by .clang-format (Debian 12 and 13 both carry that version), lines of at
# most 120 columns, and no comma operator that joins statements, which
# clang's -Wcomma finds (a for loop's steps are let be).
source "$(dirname "$0")/common.sh"
install_missing clang-format-19 clang
cd "$ROOT"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format-19 --dry-run --Werror "${sources[@]}"
if awk 'length($0) > 120 { print FILENAME ":" FNR ": " length($0) " columns"; wide = 1 } END { exit !wide }' "${sources[@]}"; then
    exit 1
fi
cxx=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")/include/c++
for source in "${sources[@]}"; do
    [[ $source == *.cpp ]] || continue
    clang -fsyntax-only --target=x86_64-w64-mingw32 -std=c++17 -DUNICODE -D_UNICODE \
        -isystem "$cxx" -isystem "$cxx/x86_64-w64-mingw32" -I "$ROOT" -I /usr/src/googletest/googletest/include \
        -Wno-everything -Wcomma -Werror=comma "$source"
done
echo "Layout: every C and C++ file as formatted, within 120 columns, one statement a line."
