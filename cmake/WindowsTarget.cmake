# SPDX-License-Identifier: MIT
# What the Windows programs need beyond the code: the host's header-only
# libraries.

# nlohmann_json is headers only, so the host's copy serves the Windows target
# as well. It is staged alone in the build folder, so that no other host
# header comes on the Windows compiler's include path.
set(zur_staged ${PROJECT_BINARY_DIR}/host-headers)
file(COPY /usr/include/nlohmann DESTINATION ${zur_staged}/include)
file(COPY /usr/share/cmake/nlohmann_json DESTINATION ${zur_staged}/share/cmake)
set(nlohmann_json_DIR ${zur_staged}/share/cmake/nlohmann_json CACHE PATH "" FORCE)
