#!/usr/bin/env bash
# How soon the real program shows a fully loaded home page (every list
# filled, every picture in) against the companion server with a delay
# before every answer, measured from the moment the program is launched:
# once with empty caches and once with the pictures cached by the first run,
# beside what the same requests cost one after another. "Empty caches" are
# the program's: the companion has drawn its pictures before.
#   app/bench/home_load_bench.sh [build-dir] [latency-ms]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
latency=${2:-50}
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
origin="http://127.0.0.1:$port"
work=$(mktemp -d)
server=""
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$build/server/mivra-server" --port "$port" --latency "$latency" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 1 100); do
    curl -s -o /dev/null "$origin/banner" && break
    sleep 0.1
done

# Milliseconds from launching the program to its home page being loaded.
run_program() {
    local log="$work/app.log" started loaded program
    : >"$log"
    started=$(date +%s%3N)
    HOME="$work/home" XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen \
        QT_LOGGING_RULES="mivra.startup.info=true" \
        MIVRA_SERVICE_BASE="$origin/" MIVRA_MAKER_ORIGIN="$origin" MIVRA_ACCOUNT_ORIGIN="$origin" \
        MIVRA_QR_ORIGIN="$origin" MIVRA_PLAYER_ORIGIN="$origin" \
        "$build/app/mivra" 2>"$log" &
    program=$!
    for _ in $(seq 1 600); do
        grep -q "home page loaded at" "$log" && break
        sleep 0.02
    done
    kill "$program" 2>/dev/null; wait "$program" 2>/dev/null || true
    loaded=$(grep -o "home page loaded at [0-9]*" "$log" | awk '{print $5}')
    [ -n "$loaded" ] || { echo "the program never reported its home page" >&2; exit 1; }
    echo $((loaded - started))
}

# One untimed pass first: the companion draws each picture on first request
# and serves it from memory afterwards, as a picture CDN serves files.
"$build/app/bench/home_sequential_bench" "$origin" >/dev/null
cold=$(run_program)
warm=$(run_program)
sequential=$("$build/app/bench/home_sequential_bench" "$origin")
echo "home page fully loaded, ${latency} ms before every answer:"
echo "  first start (nothing cached):  ${cold} ms"
echo "  second start (pictures cached): ${warm} ms"
echo "  one request after another:     ${sequential} ms"
