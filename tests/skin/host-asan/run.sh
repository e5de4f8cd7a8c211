#!/usr/bin/env bash
# Builds the layout parser and the archive reader natively with AddressSanitizer and
# UndefinedBehaviorSanitizer against the Win32 shim here, and runs the harness over the real layout
# and real archives. Needs the host g++ and zlib (Debian: g++, zlib1g-dev).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
out="${1:-$root/build/host-asan}"
mkdir -p "$out"
/usr/bin/g++ -std=c++17 -g -O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all \
  -Wall -Wextra -I"$here" -I"$root" \
  "$here/Harness.cpp" "$root/skin/SkinXml.cpp" "$root/skin/SkinXmlText.cpp" "$root/skin/SkinZip.cpp" -lz -o "$out/skin-harness"
data="$root/tests/skin/data"
"$out/skin-harness" "$data/source/MainWnd.xml" "$data/python-deflated.zip" "$data/infozip-stream.zip" "$data/cmake.zip"
