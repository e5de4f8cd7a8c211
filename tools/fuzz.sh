#!/usr/bin/env bash
# Runs the native fuzz targets (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer).
#   tools/fuzz.sh TARGET [SECONDS]   fuzzes one target (default 600 s) from its seed corpus
#   tools/fuzz.sh --replay [TARGET]  runs every kept input once (all targets by default)
#   tools/fuzz.sh --list             names the targets
#   tools/fuzz.sh markup [SECONDS]   the markup layout's mutation loop, under Wine (render tests)
# New inputs go to build/fuzz/work/TARGET, never into the tree; a crash input is written to
# build/fuzz/crashes/TARGET/. Keep each one, once mended, in tests/fuzz/corpus/TARGET/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${QUORIL_FUZZ_OUT:-$root/build/fuzz}"
mapfile -t targets < <("$root/tests/fuzz/build.sh" --list)

case "${1:-}" in
  ""|-h|--help)
    sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
    exit 2 ;;
  --list)
    printf '%s\n' "${targets[@]}"
    exit 0 ;;
  --replay)
    shift
    [ $# -gt 0 ] && targets=("$@")
    "$root/tests/fuzz/build.sh" "$out" "${targets[@]}"
    for target in "${targets[@]}"; do
      corpus="$root/tests/fuzz/corpus/$target"
      count=$(find "$corpus" -type f | wc -l)
      echo "replaying $count inputs of $target"
      find "$corpus" -type f -print0 | sort -z |
        xargs -0 "$out/fuzz-$target" -timeout=25 -rss_limit_mb=2048 2>"$out/replay-$target.log" ||
        { tail -n 60 "$out/replay-$target.log"; exit 1; }
    done
    exit 0 ;;
esac

target=$1
seconds=${2:-600}
if [ "$target" = markup ]; then
  build="$root/build/mingw-debug"
  "$root/tools/setup.sh" mingw-debug test_render
  "$root/tools/wine-prefix.sh" "$build/wineprefix" headless
  QUORIL_WINEPREFIX="$build/wineprefix" QUORIL_MARKUP_FUZZ_SECONDS="$seconds" \
    exec "$root/cmake/wine-run.sh" "$build/tests/test_render.exe" --gtest_filter='MarkupMutation.*'
fi
"$root/tests/fuzz/build.sh" "$out" "$target"
work="$out/work/$target"
crashes="$out/crashes/$target"
mkdir -p "$work" "$crashes"
log="$out/run-$target.log"
# One job on one core: the CI machine has two and the rest of the suite needs the other.
status=0
"$out/fuzz-$target" "$work" "$root/tests/fuzz/corpus/$target" -max_total_time="$seconds" -timeout=25 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/" >"$log" 2>&1 || status=$?
grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::(number_of_executed_units|average_exec_per_sec)|==[0-9]+==|SUMMARY)|Test unit written|violated' "$log" || true
if [ "$status" -ne 0 ]; then
  tail -n 40 "$log"
  echo "fuzz-$target failed (exit $status); the input is in $crashes" >&2
  exit "$status"
fi
echo "fuzz-$target: $(find "$work" -type f | wc -l) new inputs kept in $work"
