# The Debian package, built by CPack from the install rules (scripts/package.sh
# runs it): mivra_<version>_<arch>.deb with both programs, the desktop entry,
# the icons, the AppStream data, the manual pages, the copyright and the
# changelog. Its dependencies are those dpkg-shlibdeps finds in the binaries.

# The release time: SOURCE_DATE_EPOCH when that is set (the package script
# sets it to the last commit's), so a package built twice from one commit
# is the same.
string(TIMESTAMP MIVRA_RELEASE_STAMP "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(MIVRA_MAINTAINER "The Mivra developers <developers@mivra.org>")
set(package_files ${CMAKE_BINARY_DIR}/package)

# A native package carries its changelog as changelog.gz, compressed
# without a time stamp as Debian wants.
configure_file(${PROJECT_SOURCE_DIR}/cmake/package/changelog.in ${package_files}/changelog @ONLY)
add_custom_command(OUTPUT ${package_files}/changelog.gz
  COMMAND gzip -9nkf changelog
  DEPENDS ${package_files}/changelog
  WORKING_DIRECTORY ${package_files}
  COMMENT "Compressing the changelog")
add_custom_target(mivra_changelog ALL DEPENDS ${package_files}/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/package/copyright ${package_files}/changelog.gz
  DESTINATION share/doc/mivra)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mivra)
set(CPACK_PACKAGE_VENDOR "The Mivra developers")
set(CPACK_PACKAGE_CONTACT "${MIVRA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop client for the NetEase Cloud Music catalogue")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://mivra.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The companion makes its demo audio and video with the ffmpeg command; Qt
# opens a Wayland session through its Wayland plugin; Qt's own dialogs (the
# colour picker's buttons, say) speak Chinese with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg, qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The extended description below the summary line; CPack indents it and
# marks the empty line between paragraphs as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Mivra Music browses the NetEase Cloud Music catalogue (home page, playlists
by category, charts, artists, albums, music videos), searches it and plays
songs with synchronised lyrics in its window and on the desktop. It keeps a
play queue with three play modes, logs in by QR code, downloads songs as
MP3 or FLAC files, shows an audio spectrum and answers the desktop's media
controls (MPRIS).

The package also holds mivra-server, the companion server that serves a
demo catalogue on the loopback address, so the program runs without the
internet, or relays to a self-hosted NeteaseCloudMusicApi server.")

include(CPack)

# What the install rules put in the package, so the package script builds
# these and not the tests and benchmarks.
add_custom_target(mivra_package_contents)
add_dependencies(mivra_package_contents mivra mivra-server mivra_icons mivra_manuals mivra_changelog)
