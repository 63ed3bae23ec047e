# SPDX-License-Identifier: MIT
# The Windows zip: `cpack` in the Windows build folder packs zurconv.exe,
# zurlev.exe, the README, the licence, the level maker's guide and the
# palette file into zurconv-VERSION-windows-x64.zip, one folder of that name
# inside. The texts get CR LF line ends, so that every Windows editor shows
# them as lines; the palette file has them from the Windows program that
# writes it.
install(TARGETS zurconv zurlev RUNTIME DESTINATION .)

set(zur_texts ${PROJECT_BINARY_DIR}/windows-texts)
foreach(text README.md:README.txt LICENSE:LICENSE.txt docs/makelev.txt:makelev.txt)
  string(REPLACE ":" ";" text ${text})
  list(GET text 0 source)
  list(GET text 1 packed)
  file(READ ${PROJECT_SOURCE_DIR}/${source} contents)
  string(REPLACE "\r\n" "\n" contents "${contents}")
  string(REPLACE "\n" "\r\n" contents "${contents}")
  file(WRITE ${zur_texts}/${packed} "${contents}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
  install(FILES ${zur_texts}/${packed} DESTINATION .)
endforeach()
install(FILES ${ZUR_PALETTE_FILE} DESTINATION .)

set(CPACK_PACKAGE_NAME zurconv)
set(CPACK_PACKAGE_VENDOR "The ZUR level converter developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter of game level sources into ZUR level files")
set(CPACK_PACKAGE_FILE_NAME zurconv-${PROJECT_VERSION}-windows-x64)
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)
include(CPack)
