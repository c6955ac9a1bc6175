#!/usr/bin/env bash
# Kills a process that rewrites the settings file in a loop, with SIGKILL at
# random moments, and checks after every kill that the file is whole: never
# empty, truncated or half old, half new.
#   scripts/settings-kill-check.sh [build-dir] [kills]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
kills=${2:-200}
writer="$build/base/bench/settings_kill_writer"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="$work/config/config.ini"
mkdir -p "$work/config"
"$writer" init "$file"

damaged=0
for i in $(seq 1 "$kills"); do
    "$writer" write "$file" &
    pid=$!
    sleep "0.0$(( RANDOM % 90 + 10 ))"
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    if ! "$writer" check "$file"; then
        damaged=$((damaged + 1))
        cp "$file" "$work/damaged-$i.ini" 2>/dev/null || true
    fi
done
leftovers=$(find "$work/config" -type f ! -name config.ini | wc -l)
echo "settings written under $kills kills: $damaged damaged files," \
     "$leftovers scratch files left behind (the next start removes those older than a minute)"
[ "$damaged" -eq 0 ]
