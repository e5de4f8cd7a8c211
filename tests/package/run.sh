#!/usr/bin/env bash
# The SDK as a user gets it: installs the build's `sdk` component into a private prefix, checks which
# versions the package answers to, configures and builds the consumer project beside this script
# against it with the MinGW toolchain file, and runs the program under Wine.
# Usage: run.sh BUILD_DIR WORKDIR VERSION   (QUORIL_WINEPREFIX: the build's headless prefix)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$1
work=$2
version=$3
rm -rf "$work"
mkdir -p "$work"
prefix="$work/SkinUI-$version"
cmake --install "$build" --component sdk --prefix "$prefix" >"$work/install.log"
config_dir="$prefix/lib/cmake/SkinUI"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Same major version: any 1.x release satisfies a request for 1.y with y not above x; 2 and 0 do not.
IFS=. read -r major minor patch <<<"$version"
while read -r requested expected; do
  answer=$(cmake -DPACKAGE_FIND_VERSION="$requested" -DCONFIG="$config_dir/SkinUIConfigVersion.cmake" \
    -P "$here/version-answer.cmake" 2>&1)
  [ "$answer" = "$expected" ] || fail "find_package(SkinUI $requested) against $version: $answer, expected $expected"
done <<EOF_VERSIONS
$major compatible
$major.$minor compatible
$version exact
$major.$((minor + 1)) incompatible
$((major + 1)) incompatible
$((major - 1)).9 incompatible
EOF_VERSIONS

for header in Version.h window/WindowImplBase.h controls/base/Control.h skin/SkinBuilder.h; do
  [ -f "$prefix/include/SkinUI/$header" ] || fail "the SDK has no include/SkinUI/$header"
done
[ -f "$prefix/doc/skin-reference.md" ] || fail "the SDK has no skin reference"
[ -f "$prefix/example/gallery/GalleryWnd.cpp" ] || fail "the SDK has no gallery example"

if ! cmake -S "$here" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DSkinUI_DIR="$config_dir" >"$work/configure.log" 2>&1; then
  cat "$work/configure.log" >&2
  fail "the consumer project does not configure against the SDK"
elif ! cmake --build "$work/build" >"$work/build.log" 2>&1; then
  cat "$work/build.log" >&2
  fail "the consumer project does not build against the SDK"
else
  output=$("$root/cmake/wine-run.sh" "$work/build/consumer.exe" | tr -d '\r') || fail "consumer.exe exited with $?"
  [ "$output" = "SkinUI $version: button \"OK\"" ] || fail "consumer.exe printed: $output"
fi

if [ "$failures" -gt 0 ]; then
  echo "package: $failures failure(s); logs in $work" >&2
  exit 1
fi
echo "package: the SDK installs, answers to its versions, and a consumer builds and runs"
