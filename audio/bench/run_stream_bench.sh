#!/usr/bin/env bash
# Plays a 320 kbps MP3 from a local HTTP server for 30 s through the engine
# and, on the same file and server, through `ffmpeg -re ... -f null -`, and
# prints both side by side: CPU seconds, the engine's time to first frame and
# its peak memory. A second run with a file four times as long shows that the
# memory does not grow with the file.
#   audio/bench/run_stream_bench.sh [build-dir] [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
seconds=${2:-30}
bench=$build/audio/bench/audio_stream_bench
[ -x "$bench" ] || { echo "build first: cmake --build $build --target audio_stream_bench" >&2; exit 1; }

work=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Pink noise with a tone on top keeps the encoder and decoder as busy as music.
make_mp3() {  # <file> <seconds>
  ffmpeg -nostdin -loglevel error -y \
    -f lavfi -i "anoisesrc=color=pink:amplitude=0.3:duration=$2:sample_rate=44100" \
    -f lavfi -i "sine=frequency=440:duration=$2:sample_rate=44100" \
    -filter_complex "[0][1]amix=inputs=2,pan=stereo|c0=c0|c1=c0" -c:a libmp3lame -b:a 320k "$1"
}

start_server() {  # <file>; sets url and server_pid
  "$bench" serve "$1" > "$work/url" &
  server_pid=$!
  for _ in $(seq 100); do [ -s "$work/url" ] && break; sleep 0.05; done
  url=$(cat "$work/url")
}

stop_server() { kill "$server_pid"; wait "$server_pid" 2>/dev/null || true; server_pid=; }

run() {  # <minutes of audio>
  local file=$work/song-$1min.mp3
  make_mp3 "$file" $(( $1 * 60 ))
  start_server "$file"
  echo "== $1-minute 320 kbps MP3 ($(du -k "$file" | cut -f1) KiB), $seconds s of playback"
  echo "-- engine"
  "$bench" play "$url" "$seconds"
  echo "-- ffmpeg -re -i URL -t $seconds -f null -"
  local TIMEFORMAT="%3U %3S"
  { time ffmpeg -nostdin -loglevel error -re -i "$url" -t "$seconds" -f null - ; } 2> "$work/ffmpeg-time"
  awk '{ printf "cpu               %.3f s\n", $1 + $2 }' "$work/ffmpeg-time"
  stop_server
}

run 4
run 16
