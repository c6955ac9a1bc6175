#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the app need, and the
# extra packages named as arguments, skipping the whole step when every one
# of them is already installed.
set -euo pipefail

packages=(
  cmake g++ pkg-config ccache
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
  libcurl4-openssl-dev libssl-dev libcpp-httplib-dev
  nlohmann-json3-dev libdouble-conversion-dev libpcre2-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev ffmpeg
  portaudio19-dev libasound2-dev libjack-jackd2-dev libkissfft-dev libebur128-dev
  libpng-dev libjpeg62-turbo-dev libturbojpeg0-dev zlib1g-dev libqrencode-dev
  libsqlite3-dev libxcb1-dev xdotool
  libgtest-dev libbenchmark-dev
  xvfb xauth fonts-wqy-microhei fonts-noto-color-emoji time
  dbus-daemon dbus-bin playerctl desktop-file-utils appstream weston qt6-wayland
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
