#!/usr/bin/env bash
# Installs what is missing, builds, and lays out build/release: the exe and
# the hook library the message log loads beside it, the English satellite in
# a folder of its own, and a short text on their use.
source "$(dirname "$0")/common.sh"
install_missing
build -DORVALIS_TESTS=OFF
release="$BUILD/release"
rm -rf "$release"
mkdir -p "$release/english"
cp "$BUILD/orvalis.exe" "$BUILD/orvalis_hook.dll" "$release/"
cp "$BUILD/satellite/orvalis.exe.mui" "$release/english/"
sed 's/$/\r/' "$ROOT/resources/release-readme.txt" > "$release/README.txt"
# Two builds of one commit give the same bytes, so a download can be
# checked against a build of the source.
( cd "$release" && sha256sum orvalis.exe orvalis_hook.dll english/orvalis.exe.mui > SHA256SUMS )
echo "Release in $release:"
( cd "$release" && find . -type f -printf '%8s bytes  %P\n' | sort -k3 )
