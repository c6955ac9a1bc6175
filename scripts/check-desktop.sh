#!/usr/bin/env bash
# Starts the real program against the companion server on a private session
# bus and a virtual display, and prints what the desktop sees of it: its
# media controls through playerctl, a second start, and the platform's
# complaints.   scripts/check-desktop.sh [build-dir] [x11|wayland]
# x11 runs under Xvfb; wayland under a headless Weston compositor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
platform=${2:-x11}

if [ -z "${MIVRA_CHECK_INSIDE:-}" ]; then
  export MIVRA_CHECK_INSIDE=1
  if [ "$platform" = x11 ]; then
    exec dbus-run-session -- xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$build" x11
  fi
  exec dbus-run-session -- "$0" "$build" wayland
fi

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
origin="http://127.0.0.1:$port"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [ "$platform" = wayland ]; then
  export XDG_RUNTIME_DIR=$work/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  weston --backend=headless-backend.so --socket=mivra-check --width=1600 --height=1000 \
    >"$work/weston.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/mivra-check" ] && break; sleep 0.1; done
  [ -S "$XDG_RUNTIME_DIR/mivra-check" ] || { echo "weston did not start:"; cat "$work/weston.log"; exit 1; }
  export WAYLAND_DISPLAY=mivra-check QT_QPA_PLATFORM=wayland
  unset DISPLAY
else
  export QT_QPA_PLATFORM=xcb
fi

"$build/server/mivra-server" --port "$port" >"$work/server.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do curl -s -o /dev/null "$origin/banner" && break; sleep 0.1; done

start_program() {
  HOME="$work/home" XDG_CACHE_HOME="$work/cache" \
    MIVRA_SERVICE_BASE="$origin/" MIVRA_MAKER_ORIGIN="$origin" MIVRA_ACCOUNT_ORIGIN="$origin" \
    MIVRA_QR_ORIGIN="$origin" MIVRA_PLAYER_ORIGIN="$origin" \
    "$build/app/mivra" "$@"
}

start_program 2>"$work/first.log" &
first=$!
pids+=($first)
for _ in $(seq 150); do playerctl -l 2>/dev/null | grep -qx mivra && break; sleep 0.1; done
if ! playerctl -l 2>/dev/null | grep -qx mivra; then
  echo "FAIL: the program did not offer its media controls; its log:"
  cat "$work/first.log"
  exit 1
fi
echo "platform:        $platform"
echo "media player:    $(playerctl -l | tr '\n' ' ')"
echo "identity:        $(busctl --user get-property org.mpris.MediaPlayer2.mivra /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2 Identity 2>/dev/null || echo '(busctl missing)')"
echo "status:          $(playerctl -p mivra status 2>&1)"
playerctl -p mivra volume 0.4
echo "volume set 0.4:  $(playerctl -p mivra volume)"
playerctl -p mivra loop Track
echo "loop set Track:  $(playerctl -p mivra loop)"
playerctl -p mivra shuffle On
echo "shuffle set On:  $(playerctl -p mivra shuffle) (loop $(playerctl -p mivra loop))"

status=0
if timeout 20 bash -c "$(declare -f start_program); origin=$origin work=$work build=$build start_program" \
    >"$work/second.log" 2>&1; then
  echo "second start:    handed over and ended"
else
  echo "FAIL: a second start did not end"; status=1
fi
if kill -0 "$first" 2>/dev/null; then echo "first program:   still running"; else echo "FAIL: the first program ended"; status=1; fi

warnings=$(grep -v "^$" "$work/first.log" | sort | uniq -c | sort -rn | head -10 || true)
echo "program's messages (most frequent first):"
echo "${warnings:-  (none)}"
exit $status
