# SPDX-License-Identifier: MIT
# The Windows packages. The zip: `cpack` in the Windows build folder packs
# zurconv-gui.exe, zurconv.exe, zurlev.exe, the README, the licence, the
# level maker's guide and the palette files into
# zurconv-VERSION-windows-x64.zip, one folder of that name inside. The
# installer: the build makes zurconv-VERSION-windows-x64.msi with the same
# files (cmake/windows/zurconv.wxs) with wixl. The texts get CR LF line
# ends, so that every Windows editor shows them as lines; the palettes in
# text have them from the Windows program that writes them.
install(TARGETS zurconv-gui zurconv zurlev RUNTIME DESTINATION .)

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
install(FILES ${ZUR_PALETTE_FILES} DESTINATION .)

set(CPACK_PACKAGE_NAME zurconv)
set(CPACK_PACKAGE_VENDOR "The ZUR level converter developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter of game level sources into ZUR level files")
set(CPACK_PACKAGE_FILE_NAME zurconv-${PROJECT_VERSION}-windows-x64)
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The installer's programs, stripped as the zip's are.
find_program(ZUR_WIXL wixl REQUIRED)
set(zur_msi_programs ${PROJECT_BINARY_DIR}/msi-programs)
set(zur_stripped "")
foreach(program zurconv zurlev zurconv-gui)
  add_custom_command(OUTPUT ${zur_msi_programs}/${program}.exe
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${zur_msi_programs}
                     COMMAND ${CMAKE_STRIP} -o ${zur_msi_programs}/${program}.exe
                             $<TARGET_FILE:${program}>
                     DEPENDS ${program}
                     VERBATIM)
  list(APPEND zur_stripped ${zur_msi_programs}/${program}.exe)
endforeach()

# Builds the installer of version `version` into `file` of the build folder.
# wixl takes the files it packs by paths relative to where it runs.
function(zur_add_msi target version file)
  set(wxs ${PROJECT_SOURCE_DIR}/cmake/windows/zurconv.wxs)
  set(icon ${PROJECT_SOURCE_DIR}/frontend/icons/zurconv-gui.ico)
  file(RELATIVE_PATH relative_icon ${PROJECT_BINARY_DIR} ${icon})
  file(RELATIVE_PATH relative_palettes ${PROJECT_BINARY_DIR} ${ZUR_PALETTE_DIR})
  file(RELATIVE_PATH relative_programs ${PROJECT_BINARY_DIR} ${zur_msi_programs})
  file(RELATIVE_PATH relative_texts ${PROJECT_BINARY_DIR} ${zur_texts})
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${file}
                     COMMAND ${ZUR_WIXL} --arch x64 --define Version=${version}
                             --define ProgramDir=${relative_programs}
                             --define TextDir=${relative_texts}
                             --define PaletteDir=${relative_palettes}
                             --define IconFile=${relative_icon} --output ${file} ${wxs}
                     WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
                     DEPENDS ${wxs} ${icon} ${zur_stripped} ${ZUR_PALETTE_FILES}
                             ${zur_texts}/README.txt ${zur_texts}/LICENSE.txt
                             ${zur_texts}/makelev.txt
                     COMMENT "Building the installer ${file}"
                     VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${PROJECT_BINARY_DIR}/${file})
endfunction()

set(ZUR_MSI zurconv-${PROJECT_VERSION}-windows-x64.msi)
zur_add_msi(zurconv_msi ${PROJECT_VERSION} ${ZUR_MSI})
if(ZUR_BUILD_TESTS)
  # The test of upgrades installs it over the one above.
  math(EXPR zur_next_patch "${PROJECT_VERSION_PATCH} + 1")
  set(ZUR_NEXT_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${zur_next_patch})
  set(ZUR_NEXT_MSI tests/zurconv-${ZUR_NEXT_VERSION}-upgrade-test.msi)
  zur_add_msi(zurconv_next_msi ${ZUR_NEXT_VERSION} ${ZUR_NEXT_MSI})
endif()
