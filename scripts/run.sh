#!/usr/bin/env bash
# Installs what is missing, builds Torvane and the tools (zozud-image,
# zozud-model, zozud-font, zozud-hello, zozud-viewer; Release, in
# build/Release) and starts Torvane from the repository folder, so Log.txt and
# port.dat live there.
# Usage: scripts/run.sh [arguments passed to torvane]
#        scripts/run.sh viewer [FILE...] [viewer options]   starts the model and
#          texture viewer instead (the committed bending box when no file is given)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/Release"

bash "$ROOT/scripts/install-deps.sh" run

if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DZOZUD_TESTS=OFF -DZOZUD_BENCH=OFF
fi
cmake --build "$BUILD" -j2 --target torvane zozud-image zozud-model zozud-font zozud-hello zozud-viewer

cd "$ROOT"
if [ "${1:-}" = "viewer" ]; then
  shift
  files=("$@")
  [ ${#files[@]} -eq 0 ] && files=("$ROOT/tests/data/viewer/bend.md5mesh")
  if [ -n "${DISPLAY:-}" ]; then
    exec "$BUILD/zozud-viewer" "${files[@]}"
  fi
  exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$BUILD/zozud-viewer" "${files[@]}"
fi
if [ -n "${DISPLAY:-}" ]; then
  exec "$BUILD/torvane" "$@"
fi
# No display: give the control window a virtual one.
exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$BUILD/torvane" "$@"
