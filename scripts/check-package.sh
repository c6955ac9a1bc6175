#!/usr/bin/env bash
# Checks the Debian package on this machine, end to end:
#   1. installs it with dpkg -i, and apt-get -f install completes what is missing;
#   2. lintian reports no error (warnings and notes are listed);
#   3. the installed programs print the package's version, and the manual
#      pages are found;
#   4. the program starts from its desktop entry's Exec line on a virtual
#      display (Xvfb) and loads its home page from the installed companion,
#      which listens on loopback only, so nothing leaves the machine; a
#      screenshot of it is kept beside the package;
#   5. dpkg -r removes it and leaves none of its files behind.
#   scripts/check-package.sh [package.deb]   (default: builds it with package.sh)
# Needs root or sudo (it installs and removes the package).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" lintian xvfb xauth imagemagick dbus-daemon man-db curl

deb=${1:-}
[ -n "$deb" ] || deb=$("$root/scripts/package.sh" | tail -n 1)
deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")
name=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

work=$(mktemp -d)
chmod 755 "$work"
server=""
installed=""
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    [ -n "$installed" ] && "${sudo_cmd[@]}" dpkg -r "$name" >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "== $*"; }

step "installing $(basename "$deb")"
installed=yes
if ! "${sudo_cmd[@]}" dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
    echo "dpkg -i left dependencies open; apt-get -f install completes them"
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get -f install -y -qq >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "apt-get -f install"; }
[ "$(dpkg-query -W -f='${db:Status-Status}' "$name")" = installed ] || { cat "$work/dpkg.log"; fail "$name is not installed"; }
echo "installed $name $version; depends: $(dpkg-query -W -f='${Depends}' "$name")"

step "lintian"
lintian --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
sed 's/^/  /' "$work/lintian.log"
! grep -q '^E: ' "$work/lintian.log" || fail "lintian reports errors"
echo "no lintian error ($(grep -c '^W: ' "$work/lintian.log" || true) warnings)"

step "versions and manual pages"
[ "$(/usr/bin/mivra --version)" = "mivra $version" ] || fail "mivra --version: $(/usr/bin/mivra --version)"
[ "$(/usr/bin/mivra-server --version)" = "mivra-server $version" ] || fail "mivra-server --version"
for page in mivra mivra-server; do
    man -w "$page" >/dev/null 2>&1 || fail "no manual page for $page"
done
echo "mivra and mivra-server print $version; both manual pages are found"

step "starting the program from its desktop entry"
entry=/usr/share/applications/org.mivra.Music.desktop
[ -f "$entry" ] || fail "no desktop entry at $entry"
# The Exec line without its field codes (%f, %U, ...), which a launcher
# replaces by files or URLs and which a plain start leaves out.
exec_line=$(sed -n 's/^Exec=//p' "$entry" | head -n 1 | sed 's/ *%[fFuUdDnNickvm]//g')
echo "Exec line: $exec_line"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
origin="http://127.0.0.1:$port"
mkdir -p "$work/home" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
HOME="$work/home" /usr/bin/mivra-server --host 127.0.0.1 --port "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 1 100); do
    curl -s -o /dev/null "$origin/banner" && break
    sleep 0.1
done
curl -s -o /dev/null "$origin/banner" || fail "the installed companion does not answer"

shot=$(dirname "$deb")/check-package-screen.png
cat >"$work/session.sh" <<'SESSION'
# Runs the Exec line, waits for the home page, takes a screenshot, ends it.
eval "$EXEC_LINE" 2>"$WORK/app.log" &
program=$!
for _ in $(seq 1 300); do
    grep -q "home page loaded at" "$WORK/app.log" && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
sleep 1  # the pictures that came with the last section are painted
import -window root "$SHOT" 2>/dev/null || true
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null || true
SESSION
env -i PATH=/usr/bin:/bin HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" \
    LANG=C.UTF-8 QT_LOGGING_RULES="mivra.startup.info=true" \
    MIVRA_SERVICE_BASE="$origin/" MIVRA_MAKER_ORIGIN="$origin" MIVRA_ACCOUNT_ORIGIN="$origin" \
    MIVRA_QR_ORIGIN="$origin" MIVRA_PLAYER_ORIGIN="$origin" \
    EXEC_LINE="$exec_line" WORK="$work" SHOT="$shot" \
    xvfb-run -a -s "-screen 0 1280x900x24" dbus-run-session -- bash "$work/session.sh"
grep -q "main window shown at" "$work/app.log" || { cat "$work/app.log"; fail "the main window never showed"; }
grep -q "home page loaded at" "$work/app.log" || { cat "$work/app.log"; fail "the home page never loaded"; }
[ -f "$shot" ] && echo "screenshot: $shot"
echo "the program started from its entry and loaded its home page from $origin"
kill "$server" 2>/dev/null && wait "$server" 2>/dev/null || true
server=""

step "removing"
dpkg -L "$name" >"$work/files"
"${sudo_cmd[@]}" dpkg -r "$name" >/dev/null
installed=""
left=()
while IFS= read -r path; do
    [ "$path" = "/." ] && continue
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        # A folder stays when another package has files in it.
        [ -z "$(find "$path" -maxdepth 0 -empty)" ] || left+=("$path (empty folder)")
        case $path in *mivra*) left+=("$path") ;; esac
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done <"$work/files"
# Nothing else of ours outside the home folder either (dpkg's own records
# and logs aside).
while IFS= read -r path; do left+=("$path"); done < <(
    find /usr /etc /opt /var -iname '*mivra*' -not -path '/var/lib/dpkg/*' -not -path '/var/log/*' 2>/dev/null)
[ "$(dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null || echo not-installed)" != installed ] ||
    fail "$name is still installed"
if [ ${#left[@]} -gt 0 ]; then
    printf '  left behind: %s\n' "${left[@]}"
    fail "dpkg -r left files of $name"
fi
echo "removed; no file of $name is left"
echo "PASS"
