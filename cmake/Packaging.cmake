# SPDX-License-Identifier: MIT
# CPack set-up: `cpack -G DEB` in a build folder packs everything that
# `cmake --install` installs into one Debian package, zurconv.
set(CPACK_PACKAGE_NAME zurconv)
set(CPACK_PACKAGE_VENDOR "The ZUR level converter developers")
set(CPACK_PACKAGE_CONTACT "The ZUR level converter developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter of game level sources into ZUR level files")
# Wrapped for the package's control file, which keeps its line breaks.
set(CPACK_PACKAGE_DESCRIPTION
    "The ZUR level converter compiles the sources of a level for the
two-dimensional game into the one binary level file that the game loads:
the level config file, the attribute map (a 24-bit TGA picture whose
colours say what every pixel of the level is) and the level and parallax
pictures. A failed conversion says exactly what is wrong and leaves no
level file behind; a successful one ends with a report of warnings,
statistics and hints.

zurconv converts levels on the command line and in build scripts;
zurconv-gui is a one-window dialog for the same conversion.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# dpkg-shlibdeps names the libraries the programs link against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git" "/build/" "\\\\.lev$")

include(CPack)
