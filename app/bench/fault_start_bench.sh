#!/usr/bin/env bash
# How the real program starts against a companion that misbehaves on every
# request, one fault mode at a time: how soon its main window is up (the
# loading window gone) and the most memory it held in its first seconds.
#   app/bench/fault_start_bench.sh [build-dir] [seconds-to-watch] [modes...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
watch=${2:-15}
modes=(none reset stall drip garbage http500 cutjson huge slow)  # "none": the companion as it is
if [ $# -gt 2 ]; then
    shift 2
    modes=("$@")
fi
work=$(mktemp -d)
server=""
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

printf "%-8s %16s %16s\n" mode "window (ms)" "peak memory"
for mode in "${modes[@]}"; do
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    origin="http://127.0.0.1:$port"
    fault=()
    [ "$mode" != none ] && fault=(--fault "$mode")
    "$build/server/mivra-server" --port "$port" "${fault[@]}" >"$work/server.log" 2>&1 &
    server=$!
    for _ in $(seq 1 100); do
        grep -q "serving the demo catalogue" "$work/server.log" && break
        sleep 0.05
    done
    rm -rf "$work/home" "$work/cache"
    log="$work/app.log"
    : >"$log"
    started=$(date +%s%3N)
    HOME="$work/home" XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen \
        QT_LOGGING_RULES="mivra.startup.info=true" \
        MIVRA_SERVICE_BASE="$origin/" MIVRA_MAKER_ORIGIN="$origin" MIVRA_ACCOUNT_ORIGIN="$origin" \
        MIVRA_QR_ORIGIN="$origin" MIVRA_PLAYER_ORIGIN="$origin" \
        "$build/app/mivra" 2>"$log" &
    program=$!
    peak=0
    for _ in $(seq 1 $((watch * 10))); do
        kb=$(awk '/VmHWM/ {print $2}' "/proc/$program/status" 2>/dev/null || echo 0)
        [ -n "$kb" ] && [ "$kb" -gt "$peak" ] && peak=$kb
        kill -0 "$program" 2>/dev/null || break
        sleep 0.1
    done
    alive=yes
    kill -0 "$program" 2>/dev/null || alive="no (it ended)"
    kill "$program" 2>/dev/null; wait "$program" 2>/dev/null || true
    kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true
    server=""
    shown=$(grep -o "main window shown at [0-9]*" "$log" | awk '{print $5}')
    window="never"
    [ -n "$shown" ] && window=$((shown - started))
    printf "%-8s %16s %13s MB  alive after %ss: %s\n" "$mode" "$window" "$((peak / 1024))" "$watch" "$alive"
done
