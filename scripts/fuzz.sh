#!/usr/bin/env bash
# Builds one fuzz target (clang, build/Fuzz) and fuzzes it for a while.
# Usage: scripts/fuzz.sh NAME [seconds] [libFuzzer flags...]
#   NAME: the fuzz source without "Fuzz.cpp" (ImageBmp for fuzz/ImageBmpFuzz.cpp),
#         or the target name (fuzz_image_bmp). Default time: 300 s.
# New inputs go to build/Fuzz/fuzz/corpus/NAME/, crashes to build/Fuzz/fuzz/artifacts/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/Fuzz"

snake() { sed -E 's/([a-z0-9])([A-Z])/\1_\2/g' <<<"$1" | tr '[:upper:]' '[:lower:]'; }

list_targets() {
  local f
  for f in "$ROOT"/fuzz/*Fuzz.cpp; do
    [ -f "$f" ] || continue
    f=$(basename "$f" Fuzz.cpp)
    echo "  $f (fuzz_$(snake "$f"))"
  done
}

if [ $# -lt 1 ]; then
  echo "usage: scripts/fuzz.sh NAME [seconds] [libFuzzer flags...]" >&2
  echo "targets:" >&2
  list_targets >&2
  exit 2
fi
want=$1; shift
seconds=300
if [[ ${1:-} =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi

# Find the source whose name matches, in any of the accepted spellings.
want=${want#fuzz_}
want=${want%Fuzz.cpp}
want=${want%Fuzz}
name=""
for f in "$ROOT"/fuzz/*Fuzz.cpp; do
  [ -f "$f" ] || continue
  n=$(basename "$f" Fuzz.cpp)
  if [ "$n" = "$want" ] || [ "$(snake "$n")" = "$(snake "$want")" ]; then
    name=$n
    break
  fi
done
if [ -z "$name" ]; then
  echo "fuzz.sh: no fuzz target '$want'; targets:" >&2
  list_targets >&2
  exit 2
fi
target="fuzz_$(snake "$name")"

bash "$ROOT/scripts/install-deps.sh" test
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DZOZUD_FUZZ=ON -DZOZUD_TESTS=OFF -DZOZUD_BENCH=OFF
cmake --build "$BUILD" -j2 --target "$target"

work="$BUILD/fuzz/corpus/$name"
artifacts="$BUILD/fuzz/artifacts"
mkdir -p "$work" "$artifacts"
seeds=()
for d in "$ROOT/fuzz/corpus/$name" "$ROOT/fuzz/corpus/${name}Fuzz"; do
  [ -d "$d" ] && seeds+=("$d")
done

export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1"
echo "fuzz.sh: $target for $seconds s, corpus $work ${seeds[*]:-}"
rc=0
"$BUILD/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$@" \
  "$work" "${seeds[@]}" || rc=$?

echo
echo "To keep the new interesting inputs as seeds:"
echo "  $BUILD/fuzz/$target -merge=1 $ROOT/fuzz/corpus/$name $work"
exit "$rc"
