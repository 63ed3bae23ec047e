# SPDX-License-Identifier: MIT
# Fails when an include breaks the engine's one-way dependencies, each
# library a folder of engine/: base <- conversion <- attrmap <- level <- api,
# the public headers of include/zur/ including only the standard library and
# each other (every library may include them), and nothing of cli/,
# frontend/, web/ or wx in the engine; or when a front end includes anything
# of the engine but the public headers; or when a file of the engine or the
# command line includes a system header outside the platform seam
# (platform_*.cpp) and the PNG writer's sources (png_writer_*.cpp); or when
# one outside the seam uses std::filesystem or tests _WIN32. Run with
# -DENGINE_DIR=<source>/engine -DCLI_DIR=<source>/cli
# -DFRONTEND_DIR=<source>/frontend -DWEB_DIR=<source>/web.
cmake_minimum_required(VERSION 3.25)

# The libraries from the lowest; a file's rank is its folder's place here.
set(names base conversion attrmap level api)
function(library_rank relative out)
  string(REGEX REPLACE "/.*$" "" folder "${relative}")
  list(FIND names "${folder}" rank)
  if(rank LESS 0)
    message(SEND_ERROR "engine/${relative} is in no library's folder")
  endif()
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

set(system_headers "^(unistd|fcntl|signal|io|termios|windows|winioctl|wincodec)\\.h$|^sys/")

function(check_system_headers folder relative)
  if(relative MATCHES "(^|/)(platform|png_writer)_[a-z0-9]+\\.cpp$")
    return()
  endif()
  file(STRINGS "${folder}/${relative}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*<")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*<([^>]+)>.*$" "\\1" header "${line}")
    if(header MATCHES "${system_headers}")
      get_filename_component(name "${folder}" NAME)
      message(SEND_ERROR "${name}/${relative} includes <${header}>: only the platform seam talks to the system")
    endif()
  endforeach()
endfunction()

file(GLOB_RECURSE cli_files RELATIVE "${CLI_DIR}" "${CLI_DIR}/*.h" "${CLI_DIR}/*.cpp")
foreach(relative IN LISTS cli_files)
  check_system_headers("${CLI_DIR}" "${relative}")
endforeach()

file(GLOB_RECURSE public_files RELATIVE "${ENGINE_DIR}/include" "${ENGINE_DIR}/include/*")
foreach(relative IN LISTS public_files)
  file(STRINGS "${ENGINE_DIR}/include/${relative}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" header "${line}")
    if(NOT header MATCHES "^zur/[a-z_]+\\.h$")
      message(SEND_ERROR "engine/include/${relative} includes ${header}: a public header includes only the standard library and other public headers")
    endif()
  endforeach()
endforeach()

file(GLOB_RECURSE engine_files RELATIVE "${ENGINE_DIR}" "${ENGINE_DIR}/*.h" "${ENGINE_DIR}/*.cpp")
list(FILTER engine_files EXCLUDE REGEX "^include/")
foreach(relative IN LISTS engine_files)
  check_system_headers("${ENGINE_DIR}" "${relative}")
  library_rank("${relative}" rank)
  file(STRINGS "${ENGINE_DIR}/${relative}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" header "${line}")
    if(header MATCHES "^(cli|frontend|web|wx)/")
      message(SEND_ERROR "engine/${relative} includes ${header}: the engine has no front-end code")
    elseif(header MATCHES "^engine/")
      string(REGEX REPLACE "^engine/" "" header_relative "${header}")
      library_rank("${header_relative}" header_rank)
      if(header_rank GREATER rank)
        list(GET names ${rank} from)
        list(GET names ${header_rank} to)
        message(SEND_ERROR "engine/${relative} (${from}) includes ${header} (${to})")
      endif()
    endif()
  endforeach()
endforeach()

# The front ends (cli/, frontend/, web/) reach the engine only through its
# public headers, and none depends on another.
foreach(folder IN ITEMS "${CLI_DIR}" "${FRONTEND_DIR}" "${WEB_DIR}")
  get_filename_component(name "${folder}" NAME)
  file(GLOB_RECURSE front_end_files RELATIVE "${folder}" "${folder}/*.h" "${folder}/*.cpp")
  # The page's own engine tests (web/unit/) are tests, as those of tests/ are.
  list(FILTER front_end_files EXCLUDE REGEX "^unit/")
  foreach(relative IN LISTS front_end_files)
    file(STRINGS "${folder}/${relative}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" header "${line}")
      if(header MATCHES "^(engine|cli|frontend|web|tests)/")
        message(SEND_ERROR "${name}/${relative} includes ${header}: a front end includes only its own headers and the engine's public ones (zur/)")
      endif()
    endforeach()
  endforeach()
endforeach()

# Only the platform seam (base/platform*) and the UTF-8 path helper
# it uses know which system they run on or how its paths are kept: anywhere
# else in the engine or the command line, std::filesystem or a test of
# _WIN32 would be a system fact outside the seam, untested on the other
# system.
set(system_facts "std::filesystem|#[ \t]*include[ \t]*<filesystem>|_WIN32")
foreach(folder IN ITEMS "${ENGINE_DIR}" "${CLI_DIR}")
  get_filename_component(name "${folder}" NAME)
  file(GLOB_RECURSE seam_checked RELATIVE "${folder}" "${folder}/*.h" "${folder}/*.cpp")
  foreach(relative IN LISTS seam_checked)
    if(name STREQUAL "engine" AND relative MATCHES "^base/(platform[a-z_]*|utf8_path)\\.(h|cpp)$")
      continue()
    endif()
    file(STRINGS "${folder}/${relative}" facts REGEX "${system_facts}")
    foreach(line IN LISTS facts)
      string(STRIP "${line}" line)
      message(SEND_ERROR "${name}/${relative} has \"${line}\": only the platform seam knows the system")
    endforeach()
  endforeach()
endforeach()
