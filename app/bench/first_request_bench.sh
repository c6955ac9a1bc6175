#!/usr/bin/env bash
# How soon after exec the real program's first service request arrives on
# loopback, beside how long the same executable takes from exec to its end
# when it only prints its version (loading the program and its libraries,
# the floor of any start). Each run starts with empty data and cache
# folders; the listener takes the request and answers nothing, so the
# program's own start-up is all that is measured. Goal: under 80 ms.
#   app/bench/first_request_bench.sh [build-dir] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-5}
work=$(mktemp -d)
listener=""
cleanup() {
    [ -n "$listener" ] && kill "$listener" 2>/dev/null && wait "$listener" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Prints the port it listens on, then the wall-clock millisecond at which
# the first request's bytes arrive, and keeps every connection open.
cat >"$work/listener.py" <<'PY'
import select, socket, time
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(64)
print(server.getsockname()[1], flush=True)
open_sockets, reported = [server], False
while True:
    ready, _, _ = select.select(open_sockets, [], [])
    for s in ready:
        if s is server:
            open_sockets.append(server.accept()[0])
        elif not s.recv(65536):
            open_sockets.remove(s)
        elif not reported:
            print(int(time.time() * 1000), flush=True)
            reported = True
PY

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

first=()
floor=()
for _ in $(seq 1 "$runs"); do
    coproc LISTEN { exec python3 -u "$work/listener.py"; }
    listener=$LISTEN_PID
    read -r port <&"${LISTEN[0]}"
    origin="http://127.0.0.1:$port"
    rm -rf "$work/home" "$work/cache"
    started=$(date +%s%3N)
    HOME="$work/home" XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen \
        MIVRA_SERVICE_BASE="$origin/" MIVRA_MAKER_ORIGIN="$origin" MIVRA_ACCOUNT_ORIGIN="$origin" \
        MIVRA_QR_ORIGIN="$origin" MIVRA_PLAYER_ORIGIN="$origin" \
        "$build/app/mivra" 2>/dev/null &
    program=$!
    arrived=""
    read -r -t 10 arrived <&"${LISTEN[0]}" || true
    kill "$program" 2>/dev/null; wait "$program" 2>/dev/null || true
    kill "$listener" 2>/dev/null; wait "$listener" 2>/dev/null || true
    listener=""
    [ -n "$arrived" ] || { echo "no request arrived within 10 s" >&2; exit 1; }
    first+=($((arrived - started)))

    started=$(date +%s%3N)
    "$build/app/mivra" --version >/dev/null
    floor+=($(($(date +%s%3N) - started)))
done

echo "first service request after exec (median of $runs runs, goal 80 ms):"
echo "  first request arrives:          $(printf '%s\n' "${first[@]}" | median) ms   (runs: ${first[*]})"
echo "  exec to end of 'mivra --version': $(printf '%s\n' "${floor[@]}" | median) ms   (runs: ${floor[*]})"
