#!/usr/bin/env bash
# Checks in a real browser (headless Chromium) that the companion's web
# player page plays the demo MV: the page the play bar's MV button opens
# loads, and its video element has the MV's stream as its source, which
# answers as MP4 video. Installs Chromium when it is missing.
#   scripts/check-web-player.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
"$root/scripts/deps.sh" chromium

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
origin="http://127.0.0.1:$port"
"$build/server/mivra-server" --port "$port" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null' EXIT
for _ in $(seq 1 100); do curl -s -o /dev/null "$origin/banner" && break; sleep 0.1; done

stream=$(curl -s "$origin/mv/url?id=10900001" | python3 -c 'import json, sys; print(json.load(sys.stdin)["data"]["url"])')
page="$origin/player/?url=${stream//&wsTime/%26wsTime}"
dom=$(chromium --headless --no-sandbox --disable-gpu --virtual-time-budget=3000 --dump-dom "$page" 2>/dev/null)
source=$(python3 - "$dom" <<'PY'
import html, re, sys
found = re.search(r'<video[^>]*\bsrc="([^"]*)"', sys.argv[1])
print(html.unescape(found.group(1)) if found else "")
PY
)
if [ "$source" != "$stream" ]; then
    echo "FAIL: the page's video source is '$source', expected '$stream'" >&2
    exit 1
fi
type=$(curl -s -o /dev/null -w '%{content_type}' "$source")
if [ "$type" != "video/mp4" ]; then
    echo "FAIL: the video source answers '$type'" >&2
    exit 1
fi
echo "OK: $page"
echo "    plays $source ($type)"
