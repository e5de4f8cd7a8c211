#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: installs the Debian packages that are missing (once),
# then configures and builds the given preset. Usage: tools/setup.sh PRESET [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          binutils-mingw-w64-x86-64 libz-mingw-w64-dev libstb-dev googletest wine64 wine
          xvfb xdotool imagemagick x11-utils fonts-dejavu-core fonts-wqy-microhei
          g++ zlib1g-dev libpugixml-dev libtinyxml2-dev clang libclang-rt-dev clang-format-14 git
          nsis osslsigncode openssl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

preset=$1; shift
if [ ! -f "build/$preset/build.ninja" ]; then
  cmake --preset "$preset" >/dev/null
fi
if [ $# -gt 0 ]; then
  cmake --build "build/$preset" --target "$@"
else
  cmake --build "build/$preset"
fi
