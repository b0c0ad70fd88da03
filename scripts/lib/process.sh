# Shell helpers shared by the scripts that start Torvane themselves
# (load.sh, screenshot.sh). Source it; it defines functions only.

# A TCP port that no socket of this machine uses at the moment.
free_port() {
  local used p
  used=$(for f in /proc/net/tcp /proc/net/tcp6; do
           [ -r "$f" ] && tail -n +2 "$f"
         done | while read -r _ local _; do echo $((16#${local##*:})); done | sort -u)
  for _ in $(seq 1 200); do
    p=$((20000 + RANDOM % 30000))
    grep -qx "$p" <<<"$used" || { echo "$p"; return 0; }
  done
  return 1
}

# Stops a process we started: a polite signal, up to 5 s, then SIGKILL.
stop_process() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
