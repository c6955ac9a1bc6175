#!/usr/bin/env bash
# What the desktop spectrum costs while a song plays: the companion server
# serves a demo song as MP3, the program plays it on a virtual display
# (Xvfb, 1920x1080) and measures its own processor time with the spectrum
# window hidden and then shown, and with a strip whose every bar moves on
# every frame.
#   app/bench/spectrum_cpu_bench.sh [build-dir] [seconds-each]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-10}
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
origin="http://127.0.0.1:$port"
work=$(mktemp -d)
server=""
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$build/server/mivra-server" --port "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 1 100); do
    curl -s -o /dev/null "$origin/banner" && break
    sleep 0.1
done

# 1900001001 (夏日来信) is served as an MP3 (the companion encodes its songs at 192 kbps).
HOME="$work/home" XDG_CACHE_HOME="$work/cache" \
    MIVRA_SERVICE_BASE="$origin/" MIVRA_MAKER_ORIGIN="$origin" MIVRA_ACCOUNT_ORIGIN="$origin" \
    MIVRA_QR_ORIGIN="$origin" MIVRA_PLAYER_ORIGIN="$origin" \
    xvfb-run -a -s "-screen 0 1920x1080x24" "$build/app/bench/spectrum_cpu_bench" 1900001001 "$seconds"
