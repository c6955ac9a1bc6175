#!/usr/bin/env bash
# Builds the Debian package mivra_<version>_<arch>.deb with CPack, in an
# optimised build with Debian's default hardening flags (not bindnow:
# binding every symbol of the Qt and FFmpeg libraries at exec delays the
# start), stripped as it is packed, and prints its path:
#   scripts/package.sh [build-dir]      (default: build-package)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"  # the build flags map this folder away in the debug paths
dir=${1:-build-package}
case $dir in /*) ;; *) dir=$root/$dir ;; esac

# dpkg-shlibdeps works out the dependencies; fakeroot and file are what
# CPack's Debian generator uses.
"$root/scripts/deps.sh" dpkg-dev fakeroot file

# The release time of the package is that of the last commit.
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$dir" -j"$(nproc)" --target mivra_package_contents
(cd "$dir" && cpack -G DEB >/dev/null)

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$dir/CPackConfig.cmake")
package=$dir/mivra_${version}_$(dpkg --print-architecture).deb
[ -f "$package" ] || { echo "package.sh: CPack did not make $package" >&2; exit 1; }
echo "$package"
