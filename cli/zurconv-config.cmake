# SPDX-License-Identifier: MIT
# The zurconv package: the level converter as the imported executable
# zurconv::zurconv, and zurconv_add_level() to convert levels in a build.
#
#   zurconv_add_level(<target> <prefix> [OUTPUT <file>])
#
# Adds <target>, built by default, which converts the level named by <prefix>
# (relative to the current source folder) into <file> (relative to the
# current build folder; by default <prefix>.lev there). The converter lists
# the sources it read in a depfile, so the level is converted again when one
# of them, or the converter, changes, and only then.

include("${CMAKE_CURRENT_LIST_DIR}/zurconv-targets.cmake")

# Functions keep the policies in force where they are defined: depfile paths
# are read relative to the build folder, as the function writes them.
cmake_policy(PUSH)
cmake_policy(SET CMP0116 NEW)

function(zurconv_add_level target prefix)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "OUTPUT" "")
  if(arg_UNPARSED_ARGUMENTS OR arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "zurconv_add_level(${target} ${prefix}): unexpected arguments "
                        "${arg_UNPARSED_ARGUMENTS}${arg_KEYWORDS_MISSING_VALUES}")
  endif()
  if(DEFINED arg_OUTPUT)
    set(output "${arg_OUTPUT}")
  elseif(IS_ABSOLUTE "${prefix}")
    cmake_path(GET prefix FILENAME output)
    string(APPEND output ".lev")
  else()
    set(output "${prefix}.lev")
  endif()
  if(NOT output MATCHES "\\.lev$")
    message(FATAL_ERROR "zurconv_add_level(${target}): OUTPUT ${output} must end in .lev")
  endif()
  cmake_path(ABSOLUTE_PATH prefix BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
  cmake_path(ABSOLUTE_PATH output BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" NORMALIZE)
  cmake_path(GET output PARENT_PATH output_folder)
  file(MAKE_DIRECTORY "${output_folder}")

  # Questions are answered no: a build has nobody to ask.
  add_custom_command(
    OUTPUT "${output}"
    COMMAND zurconv::zurconv -q -n -o "${output}" --depfile "${output}.d" "${prefix}"
    DEPENDS "$<TARGET_FILE:zurconv::zurconv>"
    DEPFILE "${output}.d"
    COMMENT "Converting level ${prefix}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS "${output}")
endfunction()

cmake_policy(POP)
