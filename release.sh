#!/usr/bin/env bash
# Builds the release configuration and leaves in build/release/ what a user downloads:
#   Quoril-x.y.z-setup.exe, Quoril-x.y.z-portable.zip, SkinUI-x.y.z-sdk.zip
# then prints their SHA-256 sums. Safe to run again: it installs only the missing Debian packages
# and rebuilds what changed. Signs with QUORIL_SIGN_PFX / QUORIL_SIGN_PASSWORD when they are set,
# otherwise with a throw-away test certificate (build/mingw-release/signing/certificate.pem).
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh mingw-release release
version=$(sed -n 's/^#define SKINUI_VERSION_STRING "\(.*\)"$/\1/p' build/mingw-release/generated/SkinUI/Version.h)
[ -n "$version" ] || { echo "release: cannot read the version from the build" >&2; exit 1; }
mkdir -p build/release
files=("Quoril-$version-setup.exe" "Quoril-$version-portable.zip" "SkinUI-$version-sdk.zip")
for file in "${files[@]}"; do
  cp -f "build/mingw-release/dist/$file" build/release/
done
cd build/release
sha256sum "${files[@]}"
