# SPDX-License-Identifier: MIT
# Packs the Windows zip of the build folder -DBUILD and checks what it
# holds: one folder -DNAME with the two programs and the four texts, each
# text with CR LF line ends only. -DWORK: a folder for the run.
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
set(texts LICENSE.txt README.txt makelev.txt zurconv.gpl)
set(expected ${texts} zurconv.exe zurlev.exe)
list(TRANSFORM expected PREPEND "${NAME}/")
if(NOT held STREQUAL expected)
  message(FATAL_ERROR "the zip holds\n  ${held}\ninstead of\n  ${expected}")
endif()

foreach(text IN LISTS texts)
  file(READ "${WORK}/unpacked/${NAME}/${text}" contents)
  string(REPLACE "\r\n" "" without_crlf "${contents}")
  string(FIND "${without_crlf}" "\n" bare_line_feed)
  if(contents STREQUAL "" OR NOT bare_line_feed EQUAL -1 OR without_crlf STREQUAL contents)
    message(SEND_ERROR "${text} is empty or does not end its lines with CR LF")
  endif()
endforeach()
