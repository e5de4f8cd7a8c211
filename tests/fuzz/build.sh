#!/usr/bin/env bash
# Builds the fuzz targets natively with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, against the Win32 shim of tests/skin/host-asan. A target is rebuilt
# only when a source it may include changed.
# Usage: tests/fuzz/build.sh OUTDIR [TARGET...]   or   tests/fuzz/build.sh --list
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"

# target: its harness, then the sources under test (relative to the root), then extra libraries.
declare -A sources=(
  [xml]="tests/fuzz/XmlFuzz.cpp skin/SkinXml.cpp skin/SkinXmlText.cpp"
  [zip]="tests/fuzz/ZipFuzz.cpp skin/SkinZip.cpp"
  [values]="tests/fuzz/ValueFuzz.cpp core/ValueParse.cpp"
  [imagespec]="tests/fuzz/ImageSpecFuzz.cpp render/ImageSpec.cpp render/ImagePairReader.cpp core/UIString.cpp core/ValueParse.cpp"
  [jpeg]="tests/fuzz/JpegFuzz.cpp render/JpegDecode.cpp"
)
# The JPEG target links Debian's native build of the same libjpeg-turbo release the program builds
# from source: the library itself is not instrumented, our use of it is.
declare -A libraries=([zip]="-lz" [jpeg]="-ljpeg")
all=(xml zip values imagespec jpeg)

if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${all[@]}"
  exit 0
fi
out="$1"
shift
mkdir -p "$out"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
for target in "${targets[@]}"; do
  [ -n "${sources[$target]:-}" ] || { echo "unknown fuzz target: $target" >&2; exit 2; }
  binary="$out/fuzz-$target"
  if [ -x "$binary" ] && [ -z "$(find "$root/core" "$root/skin" "$root/render" "$root/host" "$here" \
        "$root/tests/skin/host-asan" -newer "$binary" -name '*.[ch]*' -print -quit)" ]; then
    continue
  fi
  echo "building $binary"
  files=()
  for f in ${sources[$target]}; do files+=("$root/$f"); done
  # shellcheck disable=SC2086
  clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -fno-omit-frame-pointer -Wall -Wextra -I"$root/tests/skin/host-asan" -I"$root" \
    "${files[@]}" ${libraries[$target]:-} -o "$binary.tmp"
  mv "$binary.tmp" "$binary"
done
