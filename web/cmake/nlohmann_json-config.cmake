# SPDX-License-Identifier: MIT
# Debian's header-only JSON library for the WebAssembly build. Its own package
# file names /usr/include, which would put the system's C headers before
# emscripten's; this one offers only the library's folder.
set(zur_json_include ${CMAKE_BINARY_DIR}/nlohmann-json-include)
if(NOT EXISTS ${zur_json_include}/nlohmann)
  file(MAKE_DIRECTORY ${zur_json_include})
  file(CREATE_LINK /usr/include/nlohmann ${zur_json_include}/nlohmann SYMBOLIC)
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                        INTERFACE_INCLUDE_DIRECTORIES ${zur_json_include})
endif()
