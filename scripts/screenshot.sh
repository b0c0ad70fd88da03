#!/usr/bin/env bash
# Takes a picture of Torvane's control window for the documentation.
#
# Builds torvane (Release) if needed, starts it under a virtual 1280x1024x24
# display in a scratch working folder with a free port in its port.dat and
# TORVANE_DEBUG=1, makes two requests so the log has trace entries, waits for the
# window's 5 s refresh and writes the window to docs/torvane-window.png.
# Usage: scripts/screenshot.sh [OUTPUT.png]
# TORVANE_BUILD chooses the build folder (default build/Release).
set -euo pipefail

# shellcheck source=lib/process.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/process.sh"

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TORVANE_BUILD:-$ROOT/build/Release}"
OUT="$(realpath -m "${1:-$ROOT/docs/torvane-window.png}")"
REQUESTS=1  # each request adds six trace entries; the start-up entries stay in view

if [ "${TORVANE_SHOT_STAGE:-}" != "shoot" ]; then
  bash "$ROOT/scripts/install-deps.sh" test
  if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DZOZUD_SANITIZE= -DZOZUD_TESTS=OFF -DZOZUD_BENCH=OFF >/dev/null
  fi
  cmake --build "$BUILD" -j2 --target torvane
  # Always a display of our own: the picture should not depend on the
  # desktop the script is started from.
  export TORVANE_SHOT_STAGE=shoot
  exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$OUT"
fi

SCRATCH="$(mktemp -d /tmp/torvane-shot-XXXXXX)"
TORVANE_PID=""
cleanup() {
  stop_process "$TORVANE_PID"
  rm -rf "$SCRATCH"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

PORT=$(free_port)
URL="http://127.0.0.1:$PORT"
printf '%d' "$PORT" >"$SCRATCH/port.dat"
(cd "$SCRATCH" && TORVANE_DEBUG=1 TORVANE_LOGFILE='' exec "$BUILD/torvane" >"$SCRATCH/output.txt" 2>&1) &
TORVANE_PID=$!

for _ in $(seq 1 200); do
  curl -s --max-time 1 -o /dev/null "$URL/" && break
  kill -0 "$TORVANE_PID" 2>/dev/null || { echo "torvane ended early:" >&2; cat "$SCRATCH/output.txt" >&2; exit 1; }
  sleep 0.1
done
for _ in $(seq 1 "$REQUESTS"); do
  curl -s --max-time 5 -o /dev/null "$URL/"
  curl -s --max-time 5 -o /dev/null "$URL/log"
done

WINDOW=$(timeout 15 xdotool search --sync --onlyvisible --name "Ombrel: Torvane" 2>/dev/null | head -n 1 || true)
[ -n "$WINDOW" ] || { echo "the control window did not show" >&2; exit 1; }
# The view shows the log as it was at the last refresh: wait for the next one.
sleep 6
mkdir -p "$(dirname "$OUT")"
import -window "$WINDOW" "$OUT"
echo "Wrote $OUT ($(identify -format '%wx%h' "$OUT"))"
