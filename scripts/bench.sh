#!/usr/bin/env bash
# Builds the benchmarks in Release (build/Bench) and runs every bench_* program,
# five repetitions each, aggregates only. Output: build/Bench/results/<name>.txt
# (and .json). Figures worth keeping go to docs/benchmarks.md.
# Usage: scripts/bench.sh [extra Google Benchmark flags, e.g. --benchmark_filter=Dxt]
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/Bench"
RESULTS="$BUILD/results"

bash "$ROOT/scripts/install-deps.sh" bench

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DZOZUD_BENCH=ON -DZOZUD_TESTS=OFF -DZOZUD_FUZZ=OFF -DZOZUD_SANITIZE=
cmake --build "$BUILD" -j2

mkdir -p "$RESULTS"
shopt -s nullglob
benches=("$BUILD"/bench/bench_*)
if [ ${#benches[@]} -eq 0 ]; then
  echo "bench.sh: no bench/*Bench.cpp programs were built" >&2
  exit 1
fi

run() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$@"
  fi
}

cd "$BUILD"
failed=()
for b in "${benches[@]}"; do
  if [ ! -f "$b" ] || [ ! -x "$b" ]; then
    continue
  fi
  name=$(basename "$b")
  echo "==== $name ===="
  if ! run "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
      --benchmark_out="$RESULTS/$name.json" --benchmark_out_format=json "$@" \
      2>&1 | tee "$RESULTS/$name.txt"; then
    failed+=("$name")
  fi
done
echo "Results in $RESULTS"
if [ ${#failed[@]} -gt 0 ]; then
  echo "bench.sh: failed: ${failed[*]}" >&2
  exit 1
fi
