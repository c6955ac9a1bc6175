#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what lands there:
# check_install.sh <build-dir>
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
for file in bin/mivra bin/mivra-server \
    share/applications/org.mivra.Music.desktop \
    share/metainfo/org.mivra.Music.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.mivra.Music.svg \
    share/icons/hicolor/{48x48,128x128,256x256}/apps/org.mivra.Music.png \
    share/man/man1/mivra.1.gz share/man/man1/mivra-server.1.gz \
    share/doc/mivra/copyright share/doc/mivra/changelog.gz; do
  [ -e "$prefix/$file" ] || { echo "missing: $file"; status=1; }
done
for size in 48 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/org.mivra.Music.png
  [ -e "$png" ] || continue
  # The PNG header's width and height, big-endian at bytes 16 and 20.
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
    { echo "icon ${size}: is ${width}x${height}"; status=1; }
done

# The manual pages format without a warning from groff.
for page in mivra mivra-server; do
  page_file=$prefix/share/man/man1/$page.1.gz
  [ -e "$page_file" ] || continue
  warnings=$(zcat "$page_file" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || { echo "manual page $page: $warnings"; status=1; }
done

desktop-file-validate "$prefix/share/applications/org.mivra.Music.desktop" || status=1
appstreamcli validate --no-net "$prefix/share/metainfo/org.mivra.Music.metainfo.xml" || status=1
exit $status
