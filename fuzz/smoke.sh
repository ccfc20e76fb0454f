#!/usr/bin/env bash
# A short run of every fuzz program over its seeds and the inputs that once
# failed: a test that the programs build and still run, not a search.
# Then RUNS (1000) mutated inputs per program from a fixed seed: the same
# tree tries the same inputs each time, though a change anywhere steers the
# mutations elsewhere and may turn up an old fault (RUNS=0 runs the corpora
# alone). BUILD_DIR (build-fuzz) names the build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK_FUZZ=ON \
  -DVK_BUILD_TESTS=OFF -DVK_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER=clang++
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for program in "$build"/fuzz/fuzz_*; do
  target=${program##*/fuzz_}
  [ -f "$program" ] && [ -x "$program" ] && [ "$target" != seeds ] || continue
  corpora=("$build/fuzz/seeds/$target")
  for extra in "fuzz/seeds/$target" "tests/data/fuzz-regressions/$target"; do
    [ -d "$extra" ] && corpora+=("$extra")
  done
  mkdir -p "$scratch/$target"
  echo "fuzz_$target: ${corpora[*]} and ${RUNS:-1000} mutated inputs"
  # new inputs go to the scratch folder, finds beside it; the corpora stay as they are
  "$program" -seed=1 -runs="${RUNS:-1000}" -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$scratch/" "$scratch/$target" "${corpora[@]}"
done
