#!/usr/bin/env bash
# Load, latency and footprint of the real torvane server, over 127.0.0.1 only.
#
# Builds torvane in Release (build/Load) and the bare GTK 2 reference window
# (bench/BareWindow.c), starts torvane in a scratch working folder with a free
# port in its port.dat and TORVANE_DEBUG=1, fills its service log to the full
# 50000 characters, then measures:
#   (a) wrk -t2 -c50 -d10s, "Connection: close", against "/log" and "/"
#   (b) ab -n 2000 -c 20 against "/" and "/log" (median, 99th percentile)
#   (c) descriptors and threads before and after 10000 requests
#   (d) resident memory of the idle program beside the bare window
#   (e) the measured request rates against the accept pacing bound
# Prints a results block and writes it to build/Load/results.txt.
# Without DISPLAY the measuring half runs on a virtual display (-noreset).
# Every client run is bounded in count and time; whatever the script started
# is stopped when it exits.
set -euo pipefail

# shellcheck source=lib/process.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/process.sh"

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TORVANE_LOAD_BUILD:-$ROOT/build/Load}"
RESULTS="$BUILD/results.txt"
TORVANE="$BUILD/torvane"
BARE="$BUILD/bare-window"

FILL_TARGET=50000      # characters the in-memory service log holds when full
FILL_MAX_REQUESTS=3000 # bounds of the fill loop: requests and seconds
FILL_MAX_SECONDS=120
SOAK_REQUESTS=10000    # requests between the descriptor/thread counts
ACCEPT_PAUSE_MS=10     # the listener's pause after each accept

# ---- Build (outside the virtual display) ----
build() {
  bash "$ROOT/scripts/install-deps.sh" test
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DZOZUD_SANITIZE= -DZOZUD_TESTS=OFF -DZOZUD_BENCH=OFF >/dev/null
  cmake --build "$BUILD" -j2 --target torvane
  # GTK's headers as system headers: their deprecation notes are not ours.
  # shellcheck disable=SC2046
  gcc -O2 -Wall -Wextra "$ROOT/bench/BareWindow.c" -o "$BARE" \
    $(pkg-config --cflags gtk+-2.0 | sed 's/-I/-isystem /g') $(pkg-config --libs gtk+-2.0)
}

if [ "${TORVANE_LOAD_STAGE:-}" != "measure" ]; then
  build
  export TORVANE_LOAD_STAGE=measure
  if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$@"
  fi
  exec bash "${BASH_SOURCE[0]}" "$@"
fi

# ---- Measuring half: runs with a display ----
SCRATCH="$(mktemp -d /tmp/torvane-load-XXXXXX)"
TORVANE_PID=""
BARE_PID=""

cleanup() {
  stop_process "$BARE_PID"
  stop_process "$TORVANE_PID"
  rm -rf "$SCRATCH"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
fd_count() { find "/proc/$1/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l; }
thread_count() { find "/proc/$1/task" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l; }

# Waits (at most $2 seconds) until the window titled $1 is mapped.
wait_window() {
  timeout "$2" xdotool search --sync --onlyvisible --name "$1" >/dev/null 2>&1
}

get() { curl -s --http1.1 --max-time 5 -o "${2:-/dev/null}" -w '%{size_download}' "$URL$1" || echo 0; }

PORT=$(free_port)
URL="http://127.0.0.1:$PORT"
printf '%d' "$PORT" >"$SCRATCH/port.dat"

echo "== starting torvane on port $PORT in $SCRATCH"
(cd "$SCRATCH" && TORVANE_DEBUG=1 TORVANE_LOGFILE='' exec "$TORVANE" >"$SCRATCH/output.txt" 2>&1) &
TORVANE_PID=$!
for _ in $(seq 1 200); do
  curl -s --max-time 1 -o /dev/null "$URL/" && break
  kill -0 "$TORVANE_PID" 2>/dev/null || { echo "torvane ended early:"; cat "$SCRATCH/output.txt"; exit 1; }
  sleep 0.1
done
curl -s --max-time 2 -o /dev/null "$URL/" || { echo "torvane does not answer on $URL"; exit 1; }
wait_window "Ombrel: Torvane" 15 || true
sleep 1
RSS_START=$(rss_kb "$TORVANE_PID")
LISTENERS=$(grep -c "Interface found: " "$SCRATCH/Log.txt" || true)
[ "$LISTENERS" -gt 0 ] || LISTENERS=1

# ---- Fill the service log: every request adds six trace entries ----
echo "== filling the service log"
fill=0
fill_end=$((SECONDS + FILL_MAX_SECONDS))
while [ "$fill" -lt "$FILL_MAX_REQUESTS" ] && [ "$SECONDS" -lt "$fill_end" ]; do
  kill -0 "$TORVANE_PID" 2>/dev/null || { echo "torvane ended during the fill"; exit 1; }
  get / >/dev/null
  fill=$((fill + 1))
  # Once the file holds more than the limit, the text has been cut at least once.
  [ $((fill % 25)) -eq 0 ] && [ "$(stat -c %s "$SCRATCH/Log.txt")" -gt $((FILL_TARGET + 5000)) ] && break
done
LOG_PAGE_BYTES=$(get /log "$SCRATCH/log.html")
LOG_ITEMS=$(grep -c '<li>' "$SCRATCH/log.html" || true)
# The in-memory text: the items with their "\r\n" line ends.
LOG_TEXT_CHARS=$(sed -n 's/^\t<li>\(.*\)<\/li>\r$/\1/p' "$SCRATCH/log.html" | awk '{n += length($0) + 2} END {print n + 0}')
STATUS_PAGE_BYTES=$(get /)
echo "   $fill requests; /log is $LOG_PAGE_BYTES bytes ($LOG_ITEMS items, ~$LOG_TEXT_CHARS log characters)"
sed -n 's/^\t<li>\(.*\)<\/li>\r$/\1/p' "$SCRATCH/log.html" | tr -d '\r' >"$SCRATCH/log.txt"
sleep 1
RSS_FULL=$(rss_kb "$TORVANE_PID")

# ---- Clients: each run is bounded; the trace entries in Log.txt tell how
# many connections the server accepted meanwhile ----
accepts() { grep -cE '^[0-9]+\.2 \| [0-9]+ = accept\(' "$SCRATCH/Log.txt" || true; }

# client NAME SECONDS COMMAND...: runs the client, keeps its output in
# $SCRATCH/NAME.out and the accepted connections and milliseconds in NAME.acc.
client() {
  local name=$1 limit=$2 a0 a1 t0 t1
  shift 2
  a0=$(accepts); t0=$(date +%s%N)
  timeout "$limit" "$@" >"$SCRATCH/$name.out" 2>&1 || true
  t1=$(date +%s%N); a1=$(accepts)
  echo "$((a1 - a0)) $(((t1 - t0) / 1000000))" >"$SCRATCH/$name.acc"
  cat "$SCRATCH/$name.out"
}

field() { # NAME WHAT: a figure of a client run
  local out="$SCRATCH/$1.out"
  case "$2" in
    rps)      awk '/^Requests\/sec:/ {print $2} /^Requests per second:/ {print $4}' "$out" ;;
    p50)      awk '$1 == "50%" {print $2}' "$out" | sed 's/^\([0-9]*\)$/\1ms/' ;;
    p99)      awk '$1 == "99%" {print $2}' "$out" | sed 's/^\([0-9]*\)$/\1ms/' ;;
    complete) awk '/requests in/ {print $1} /^Complete requests:/ {print $3}' "$out" ;;
    failed)   awk '/^Failed requests:/ {print $3}' "$out" ;;
    readerr)  sed -n 's/.*Socket errors:.*read \([0-9]*\),.*/\1/p' "$out" ;;
    timeouts) sed -n 's/.*Socket errors:.*timeout \([0-9]*\).*/\1/p' "$out" ;;
    accepts)  awk '{ if ($2 > 0) printf "%.1f", $1 * 1000 / $2 }' "$SCRATCH/$1.acc" ;;
  esac
}

echo "== (a) wrk /log"
client wrk_log 30 wrk -t2 -c50 -d10s -H "Connection: close" --latency "$URL/log"
echo "== (a) wrk /"
client wrk_root 30 wrk -t2 -c50 -d10s -H "Connection: close" --latency "$URL/"
echo "== (b) ab /"
client ab_root 120 ab -q -n 2000 -c 20 -s 30 "$URL/"
echo "== (b) ab /log"
client ab_log 120 ab -q -n 2000 -c 20 -s 30 "$URL/log"

# ---- (c) descriptors and threads around 10000 requests ----
settle() { # waits up to 20 s for the thread count to fall back to $1
  for _ in $(seq 1 200); do
    [ "$(thread_count "$TORVANE_PID")" -le "$1" ] && return 0
    sleep 0.1
  done
}
sleep 1
FD_BEFORE=$(fd_count "$TORVANE_PID")
THREADS_BEFORE=$(thread_count "$TORVANE_PID")
echo "== (c) $SOAK_REQUESTS requests, before: fd=$FD_BEFORE threads=$THREADS_BEFORE"
client soak 400 ab -q -n "$SOAK_REQUESTS" -c 20 -s 30 "$URL/" >/dev/null
THREADS_PEAK_NOTE=""
settle "$THREADS_BEFORE" || THREADS_PEAK_NOTE=" (still settling after 20 s)"
FD_AFTER=$(fd_count "$TORVANE_PID")
THREADS_AFTER=$(thread_count "$TORVANE_PID")
RSS_AFTER=$(rss_kb "$TORVANE_PID")
SOAK_SECONDS=$(awk '{printf "%.0f", $2 / 1000}' "$SCRATCH/soak.acc")
echo "   after ${SOAK_SECONDS} s: fd=$FD_AFTER threads=$THREADS_AFTER$THREADS_PEAK_NOTE"

# ---- (d) the bare reference window, empty and with the same log text ----
bare_rss() { # $@: arguments of bare-window
  "$BARE" "$@" >/dev/null 2>&1 &
  BARE_PID=$!
  wait_window BareWindow 15 || true
  sleep 1
  rss_kb "$BARE_PID"
  stop_process "$BARE_PID"
  BARE_PID=""
}
echo "== (d) bare GTK 2 window"
RSS_BARE=$(bare_rss)
RSS_BARE_FULL=$(bare_rss "$SCRATCH/log.txt")

# ---- (e) the accept pacing bound, and the results ----
BOUND=$((1000 / ACCEPT_PAUSE_MS))
pct() { awk -v v="$1" -v b="$BOUND" 'BEGIN { if (v == "") print "n/a"; else printf "%.0f%%", 100 * v / b }'; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f MB", k / 1024 }'; }
CPU=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)

table_line() { printf '%-30s %8s %9s %9s %9s %10s  %s\n' "$@"; }
row() { # LABEL NAME NOTE
  table_line "$1" "$(field "$2" rps)" "$(field "$2" p50)" "$(field "$2" p99)" \
    "$(pct "$(field "$2" rps)")" "$(field "$2" accepts)" "$3"
}

{
  echo "Torvane load results ($(date -u '+%Y-%m-%d %H:%M UTC'))"
  echo "machine: $(nproc) cores, ${CPU:-unknown CPU}; torvane Release, TORVANE_DEBUG=1, 127.0.0.1:$PORT"
  echo "listeners: $LISTENERS (the clients reach the 127.0.0.1 one); pacing bound $BOUND accepts/s per listener"
  echo "service log: filled by $fill requests; /log page $LOG_PAGE_BYTES bytes, $LOG_ITEMS entries," \
       "~$LOG_TEXT_CHARS log characters; / page $STATUS_PAGE_BYTES bytes"
  echo
  table_line "run" "req/s" "p50" "p99" "of bound" "accepts/s" "notes"
  row "wrk -t2 -c50 -d10s /log" wrk_log \
    "$(field wrk_log complete) responses, $(field wrk_log readerr) read errors, $(field wrk_log timeouts) timeouts"
  row "wrk -t2 -c50 -d10s /" wrk_root \
    "$(field wrk_root complete) responses, $(field wrk_root readerr) read errors, $(field wrk_root timeouts) timeouts"
  row "ab -n 2000 -c 20 /" ab_root "$(field ab_root complete) complete, $(field ab_root failed) failed"
  row "ab -n 2000 -c 20 /log" ab_log \
    "$(field ab_log complete) complete, $(field ab_log failed) failed (ab counts a changed length as failed; the log grows)"
  row "ab -n $SOAK_REQUESTS -c 20 / (${SOAK_SECONDS} s)" soak "$(field soak complete) complete, $(field soak failed) failed"
  echo
  echo "descriptors before/after $SOAK_REQUESTS requests: $FD_BEFORE / $FD_AFTER"
  echo "threads     before/after $SOAK_REQUESTS requests: $THREADS_BEFORE / $THREADS_AFTER$THREADS_PEAK_NOTE"
  echo
  echo "resident memory (VmRSS):"
  echo "  torvane idle after start            $(mb "$RSS_START")"
  echo "  torvane idle, service log full      $(mb "$RSS_FULL")"
  echo "  torvane after all load runs         $(mb "$RSS_AFTER")"
  echo "  bare GTK 2 window, empty            $(mb "$RSS_BARE")"
  echo "  bare GTK 2 window, same log text    $(mb "$RSS_BARE_FULL")"
} | tee "$SCRATCH/results.txt"
cp "$SCRATCH/results.txt" "$RESULTS"
echo "Results in $RESULTS"
