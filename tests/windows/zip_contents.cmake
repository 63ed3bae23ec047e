# SPDX-License-Identifier: MIT
# Packs the Windows zip of the build folder -DBUILD and checks what it
# holds: one folder -DNAME with the three programs, the five texts, each
# with CR LF line ends only, and the Photoshop palette. -DWORK: a folder for
# the run.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND cpack --config "${BUILD}/CPackConfig.cmake" -B "${WORK}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
set(zip "${WORK}/${NAME}.zip")
if(NOT EXISTS "${zip}")
  message(FATAL_ERROR "${NAME}.zip was not made:\n${output}")
endif()

file(MAKE_DIRECTORY "${WORK}/unpacked")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${zip}" WORKING_DIRECTORY "${WORK}/unpacked")
file(GLOB_RECURSE held RELATIVE "${WORK}/unpacked" "${WORK}/unpacked/*")
list(SORT held)
set(texts LICENSE.txt README.txt makelev.txt zurconv.gpl zurconv-paintnet.txt)
set(expected ${texts} zurconv.act zurconv-gui.exe zurconv.exe zurlev.exe)
list(TRANSFORM expected PREPEND "${NAME}/")
list(SORT expected)
if(NOT held STREQUAL expected)
  message(FATAL_ERROR "the zip holds\n  ${held}\ninstead of\n  ${expected}")
endif()

# file(READ) drops carriage returns, so the bytes are read in hex, each
# followed by a ";" so that no match can straddle two of them.
foreach(text IN LISTS texts)
  file(READ "${WORK}/unpacked/${NAME}/${text}" hex HEX)
  string(REGEX REPLACE "(..)" "\\1;" bytes "${hex}")
  string(REPLACE "0d;0a;" "" without_crlf "${bytes}")
  string(FIND "${without_crlf}" "0a;" bare_line_feed)
  if(without_crlf STREQUAL bytes OR NOT bare_line_feed EQUAL -1)
    message(SEND_ERROR "${text} does not end its lines with CR LF")
  endif()
endforeach()
