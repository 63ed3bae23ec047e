# SPDX-License-Identifier: MIT
# Fails when the guide's colour tables differ from the engine's palette.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${TABLES} guide OUTPUT_VARIABLE tables RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "palette_tables failed: ${status}")
endif()
file(READ ${GUIDE} guide)
string(FIND "${guide}" "${tables}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "The colour tables in ${GUIDE} differ from the engine's palette. "
                      "Paste the output of `palette_tables guide` into it:\n${tables}")
endif()
