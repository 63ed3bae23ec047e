# SPDX-License-Identifier: MIT
# What the Windows programs need beyond the code: the host's header-only
# libraries, and each program's manifest and version information.

# nlohmann_json is headers only, so the host's copy serves the Windows target
# as well. It is staged alone in the build folder, so that no other host
# header comes on the Windows compiler's include path.
set(zur_staged ${PROJECT_BINARY_DIR}/host-headers)
file(COPY /usr/include/nlohmann DESTINATION ${zur_staged}/include)
file(COPY /usr/share/cmake/nlohmann_json DESTINATION ${zur_staged}/share/cmake)
set(nlohmann_json_DIR ${zur_staged}/share/cmake/nlohmann_json CACHE PATH "" FORCE)

enable_language(RC)

# Compiles a manifest and a version resource from the project's version into
# `target`. The manifest is the command-line programs' (UTF-8 code page, long
# paths, run as invoker) unless a third argument names another.
function(zur_add_windows_resources target description)
  set(ZUR_PROGRAM ${target})
  set(ZUR_DESCRIPTION "${description}")
  set(ZUR_MANIFEST ${PROJECT_SOURCE_DIR}/cmake/windows/program.manifest)
  if(ARGC GREATER 2)
    set(ZUR_MANIFEST ${ARGV2})
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  # windres does not see the manifest as a dependency of its own.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ZUR_MANIFEST})
endfunction()
