#!/usr/bin/env bash
# shellcheck disable=SC2317  # the stage functions are called through run_stage
# Installs what is missing, builds and runs every test:
#   1. build/Debug  ASan + UBSan, the whole suite (GUI tests included)
#   2. build/Tsan   ThreadSanitizer, tests labelled "threads"
#   3. build/Fuzz   clang + libFuzzer, each fuzz target over its seed corpus
# ZOZUD_TEST_QUICK=1 runs stage 1 only.
# Exits non-zero when any stage fails; ends with a "Total: N passed, N failed" line.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
JOBS=2

bash "$ROOT/scripts/install-deps.sh" test

# Runs a command with an X display: the current one, or a virtual one.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$@"
  fi
}

configure() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
}

stage_debug() {
  configure build/Debug -DCMAKE_BUILD_TYPE=Debug -DZOZUD_SANITIZE=address \
    -DZOZUD_TESTS=ON -DZOZUD_BENCH=OFF -DZOZUD_FUZZ=OFF
  # Test discovery runs the test programs during the build.
  export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp"
  cmake --build build/Debug -j"$JOBS"
  with_display ctest --test-dir build/Debug --output-on-failure -j"$JOBS" \
    --no-tests=error 2>&1 | tee build/Debug/ctest.log
}

stage_tsan() {
  configure build/Tsan -DCMAKE_BUILD_TYPE=Debug -DZOZUD_SANITIZE=thread \
    -DZOZUD_TESTS=ON -DZOZUD_BENCH=OFF -DZOZUD_FUZZ=OFF
  # The crash handler ends the process through exit(), which is not
  # async-signal-safe; that is the program's chosen way out of a fault.
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 report_signal_unsafe=0"
  if [ -f "$ROOT/tests/tsan.supp" ]; then
    TSAN_OPTIONS="$TSAN_OPTIONS suppressions=$ROOT/tests/tsan.supp"
  fi
  export TSAN_OPTIONS
  cmake --build build/Tsan -j"$JOBS"
  with_display ctest --test-dir build/Tsan -L threads --output-on-failure -j"$JOBS" \
    --no-tests=error 2>&1 | tee build/Tsan/ctest.log
}

stage_fuzz() {
  CC=clang CXX=clang++ configure build/Fuzz -DCMAKE_BUILD_TYPE=Debug \
    -DZOZUD_FUZZ=ON -DZOZUD_TESTS=OFF -DZOZUD_BENCH=OFF
  cmake --build build/Fuzz -j"$JOBS" --target fuzz_all
  ctest --test-dir build/Fuzz --output-on-failure -j"$JOBS" \
    --no-tests=error 2>&1 | tee build/Fuzz/ctest.log
}

total_passed=0
total_failed=0
stages=()
status=0

# run_stage NAME DIR FUNCTION: runs one stage in a subshell with errexit on,
# then adds the counts from ctest's closing line to the totals.
run_stage() {
  local name=$1 dir=$2 fn=$3 rc start
  echo
  echo "==== $name ===="
  start=$SECONDS
  mkdir -p "$dir"
  rm -f "$dir/ctest.log"
  set +e
  ( set -euo pipefail; "$fn" )
  rc=$?
  set -e

  local line ran=0 failed=0
  line=$(grep -Eo '[0-9]+ tests? failed out of [0-9]+' "$dir/ctest.log" 2>/dev/null | tail -n 1 || true)
  if [ -n "$line" ]; then
    failed=${line%% *}
    ran=${line##* }
  fi
  total_passed=$((total_passed + ran - failed))
  total_failed=$((total_failed + failed))
  if [ "$rc" -ne 0 ]; then
    # A stage that broke before ctest counted anything is one failure.
    [ "$failed" -eq 0 ] && total_failed=$((total_failed + 1))
    stages+=("$name: FAILED (exit $rc, $((SECONDS - start)) s)")
    status=1
  else
    stages+=("$name: passed ($((ran - failed)) tests, $((SECONDS - start)) s)")
  fi
}

run_stage "debug (address,undefined)" build/Debug stage_debug

if [ "${ZOZUD_TEST_QUICK:-0}" = "1" ]; then
  stages+=("tsan: skipped (ZOZUD_TEST_QUICK=1)" "fuzz: skipped (ZOZUD_TEST_QUICK=1)")
else
  run_stage "tsan (thread, label threads)" build/Tsan stage_tsan
  if compgen -G "$ROOT/fuzz/*Fuzz.cpp" >/dev/null; then
    run_stage "fuzz (libFuzzer, clang)" build/Fuzz stage_fuzz
  else
    stages+=("fuzz: skipped (no fuzz/*Fuzz.cpp)")
  fi
fi

echo
echo "==== summary ===="
for s in "${stages[@]}"; do
  echo "  $s"
done
echo "Total: $total_passed passed, $total_failed failed"
exit "$status"
