# SPDX-License-Identifier: MIT
# Runs the Windows zurconv and zurlev (under Wine) and the Linux ones on the
# example levels, each side in a folder of its own, and fails on any
# difference: exit statuses and messages (line ends aside), level files byte
# for byte, unpacked sources (the config file with CR LF on Windows), and
# check masks as the pixels they decode to. Wine's own messages are kept
# apart in wine.log of the run's folder, whose end a failure shows.
#
# -DZURCONV, -DZURLEV, -DPNG_PIXELS: the Windows programs; -DWINE_RUN: what
# runs them (wine_run.sh), in -DWINE_ENVIRONMENT, its words separated by "|";
# -DREFERENCE: the Linux zurconv (zurlev beside it), else the environment's
# ZUR_REFERENCE_ZURCONV; -DEXAMPLES: the example levels; -DWORK: a folder for
# the run.
cmake_minimum_required(VERSION 3.25)

if(NOT REFERENCE)
  set(REFERENCE "$ENV{ZUR_REFERENCE_ZURCONV}")
endif()
if(NOT REFERENCE)
  # The test's SKIP_REGULAR_EXPRESSION matches this line.
  message("ZUR_REFERENCE_ZURCONV is not set: there is no Linux zurconv to compare with")
  return()
endif()
get_filename_component(reference_folder "${REFERENCE}" DIRECTORY)
set(linux_zurconv "${REFERENCE}")
set(linux_zurlev "${reference_folder}/zurlev")
set(windows_zurconv "${ZURCONV}")
set(windows_zurlev "${ZURLEV}")
string(REPLACE "|" ";" wine_environment "${WINE_ENVIRONMENT}")
set(wine_log "${WORK}/wine.log")
set(wine_run env ${wine_environment} "${WINE_RUN}" "${wine_log}")

file(REMOVE_RECURSE "${WORK}")
foreach(side linux windows)
  file(MAKE_DIRECTORY "${WORK}/${side}/unpacked")
  file(GLOB sources "${EXAMPLES}/*")
  file(COPY ${sources} DESTINATION "${WORK}/${side}")
endforeach()

function(differ what)
  message(SEND_ERROR "Windows and Linux differ: ${what}")
  set_property(GLOBAL PROPERTY zur_differ TRUE)
endfunction()

# Runs TOOL (zurconv or zurlev) with the arguments on both sides, in each
# side's folder, and compares exit status, standard output and standard error.
function(on_both tool)
  foreach(side linux windows)
    set(command ${${side}_${tool}} ${ARGN})
    if(side STREQUAL "windows")
      list(PREPEND command ${wine_run})
    endif()
    execute_process(COMMAND ${command} WORKING_DIRECTORY "${WORK}/${side}"
                    RESULT_VARIABLE ${side}_status OUTPUT_VARIABLE ${side}_out
                    ERROR_VARIABLE ${side}_err)
    string(REPLACE "\r\n" "\n" ${side}_out "${${side}_out}")
    string(REPLACE "\r\n" "\n" ${side}_err "${${side}_err}")
  endforeach()
  # Windows names the folder unpacked into with its own separator.
  string(REPLACE "unpacked\\" "unpacked/" windows_out "${windows_out}")
  string(REPLACE "unpacked\\" "unpacked/" windows_err "${windows_err}")
  string(JOIN " " run ${tool} ${ARGN})
  if(NOT linux_status STREQUAL windows_status)
    differ("${run}: exit status ${linux_status} on Linux, ${windows_status} on Windows:\n${windows_err}")
  endif()
  if(NOT linux_out STREQUAL windows_out)
    differ("${run}: standard output\n--- Linux\n${linux_out}\n--- Windows\n${windows_out}")
  endif()
  if(NOT linux_err STREQUAL windows_err)
    differ("${run}: standard error\n--- Linux\n${linux_err}\n--- Windows\n${windows_err}")
  endif()
endfunction()

function(same_bytes name)
  foreach(side linux windows)
    if(NOT EXISTS "${WORK}/${side}/${name}")
      differ("${name} is missing on ${side}")
      return()
    endif()
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/linux/${name}"
                          "${WORK}/windows/${name}" RESULT_VARIABLE different)
  if(different)
    differ("${name} is not byte for byte the same")
  endif()
endfunction()

# A text file that Windows writes with CR LF line ends. file(READ) drops
# carriage returns, so the bytes are compared in hex, each followed by a ";"
# so that no match can straddle two of them.
function(same_text_with_crlf name)
  if(NOT EXISTS "${WORK}/linux/${name}" OR NOT EXISTS "${WORK}/windows/${name}")
    differ("${name} is missing")
    return()
  endif()
  foreach(side linux windows)
    file(READ "${WORK}/${side}/${name}" hex HEX)
    string(REGEX REPLACE "(..)" "\\1;" ${side}_bytes "${hex}")
  endforeach()
  string(REPLACE "0a;" "0d;0a;" expected "${linux_bytes}")
  if(NOT windows_bytes STREQUAL expected)
    differ("${name} is not the Linux text with CR LF line ends")
  endif()
endfunction()

# Both PNGs decoded by the same decoder, on Windows.
function(same_pixels name)
  foreach(side linux windows)
    execute_process(COMMAND ${wine_run} "${PNG_PIXELS}" "${name}" "${name}.pixels"
                    WORKING_DIRECTORY "${WORK}/${side}" RESULT_VARIABLE status
                    OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
      differ("${name} of ${side} does not decode: exit status ${status}\n${out}${err}")
      return()
    endif()
  endforeach()
  same_bytes("${name}.pixels")
endfunction()

# The broken level's picture is not the map's size, so its width is given.
set(unpack_broken --width 128)
foreach(level jungle broken)
  on_both(zurconv -q -y ${level})
  same_bytes(${level}.lev)
  on_both(zurconv --check --mask ${level})
  same_pixels(${level}-check.png)
  on_both(zurconv --check --json ${level})
  on_both(zurlev info --json --objects ${level}.lev)
  on_both(zurlev unpack ${unpack_${level}} -o unpacked ${level}.lev)
  foreach(source ${level}.tga ${level}.jpg ${level}p.jpg)
    if(EXISTS "${WORK}/linux/unpacked/${source}")
      same_bytes(unpacked/${source})
    endif()
  endforeach()
  same_text_with_crlf(unpacked/${level}.txt)
endforeach()

# Cases of Windows' own, held to what Linux gives.
function(on_windows status_out err_out tool)
  execute_process(COMMAND ${wine_run} ${windows_${tool}} ${ARGN} WORKING_DIRECTORY "${WORK}/windows"
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
  set(${status_out} ${status} PARENT_SCOPE)
  set(${err_out} "${err}" PARENT_SCOPE)
endfunction()

# A device name as the level file is refused before anything is written.
on_windows(status err zurconv -q -o nul.lev jungle)
if(NOT status EQUAL 1 OR NOT err MATCHES "Could not access")
  differ("zurconv -o nul.lev jungle on Windows: exit status ${status}, ${err}")
endif()

# A level file that is a hard link to a source is refused before anything
# is written.
file(CREATE_LINK "${WORK}/windows/jungle.tga" "${WORK}/windows/linked.lev")
on_windows(status err zurconv -q -o linked.lev jungle)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${EXAMPLES}/jungle.tga"
                        "${WORK}/windows/jungle.tga" RESULT_VARIABLE different)
if(NOT status EQUAL 1 OR NOT err MATCHES "Could not access" OR different)
  differ("zurconv -o linked.lev (a hard link to jungle.tga) on Windows: exit status ${status}, ${err}")
endif()

# A level in a folder named in other scripts converts to the same bytes.
set(folder "Уровни 関卡")
file(MAKE_DIRECTORY "${WORK}/windows/${folder}")
file(GLOB jungle_sources "${EXAMPLES}/jungle*")
file(COPY ${jungle_sources} DESTINATION "${WORK}/windows/${folder}")
on_windows(status err zurconv -q "${folder}/jungle.txt")
if(NOT status EQUAL 0)
  differ("zurconv ${folder}/jungle.txt on Windows: exit status ${status}, ${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/linux/jungle.lev"
                        "${WORK}/windows/${folder}/jungle.lev" RESULT_VARIABLE different)
if(different)
  differ("jungle.lev made in ${folder} is not Linux's")
endif()

# On a difference, the last Windows runs: each under a line naming it, what
# Wine said of it, and its exit status.
get_property(differences GLOBAL PROPERTY zur_differ)
if(differences)
  execute_process(COMMAND tail -n 80 "${wine_log}" OUTPUT_VARIABLE wine_tail)
  message("The end of ${wine_log}:\n${wine_tail}")
endif()
