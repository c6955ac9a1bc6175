#!/usr/bin/env bash
# The whole program's memory over a long tour of its pages, playlists and
# songs, against the companion answering every request after a delay (as a
# service on the internet would), on a virtual display (Xvfb). Prints the
# resident size every few minutes beside the size after the first minutes.
#   app/bench/memory_tour_bench.sh [build-dir] [minutes] [interval-minutes] [reference-minutes] [latency-ms]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
minutes=${2:-60}
interval=${3:-5}
reference=${4:-10}
latency=${5:-50}
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

HOME="$work/home" XDG_CACHE_HOME="$work/cache" \
    MIVRA_SERVICE_BASE="$origin/" MIVRA_MAKER_ORIGIN="$origin" MIVRA_ACCOUNT_ORIGIN="$origin" \
    MIVRA_QR_ORIGIN="$origin" MIVRA_PLAYER_ORIGIN="$origin" \
    xvfb-run -a -s "-screen 0 1920x1080x24" "$build/app/bench/memory_tour_bench" "$minutes" "$interval" "$reference"
