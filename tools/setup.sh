#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: installs the Debian packages that are missing (once),
# then configures and builds the given preset. Usage: tools/setup.sh PRESET [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          binutils-mingw-w64-x86-64 libz-mingw-w64-dev libstb-dev googletest wine64 wine
          xvfb xdotool imagemagick x11-utils fonts-dejavu-core fonts-wqy-microhei
          g++ zlib1g-dev libpugixml-dev libtinyxml2-dev clang libclang-rt-dev clang-format-14 git
          nsis osslsigncode openssl dpkg-dev nasm libjpeg62-turbo-dev)
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

# The JPEG decoder is built from Debian's source package of libjpeg-turbo (Debian ships no MinGW
# build of it): fetched once into build/third_party, never committed. Fetching sources needs a
# deb-src entry, added beside the binary ones when the machine has none.
jpeg_dir=build/third_party/libjpeg-turbo
if [ ! -f "$jpeg_dir/jpeglib.h" ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  if ! grep -Eqs '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/*; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list \
        | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/debian-src.list >/dev/null
    fi
    "${sudo_cmd[@]}" apt-get update -qq
  fi
  download=build/third_party/download
  rm -rf "$download" "$jpeg_dir"
  mkdir -p "$download"
  # A deb-src entry added by hand may not have been read yet: read the lists once and try again.
  (cd "$download" && apt-get source -qq --download-only libjpeg-turbo) ||
    { "${sudo_cmd[@]}" apt-get update -qq && (cd "$download" && apt-get source -qq --download-only libjpeg-turbo); }
  dpkg-source -x "$download"/libjpeg-turbo_*.dsc "$jpeg_dir" >/dev/null
  rm -rf "$download" build/third_party/*.orig.tar.*
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
