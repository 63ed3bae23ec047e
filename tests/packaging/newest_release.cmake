# SPDX-License-Identifier: MIT
# Fails unless the first (newest) release in the AppStream file METAINFO is
# VERSION, so that software centres show the version being built.
file(READ ${METAINFO} text)
string(REGEX MATCH "<release [^>]*version=\"([^\"]*)\"" found "${text}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR
          "${METAINFO}: newest release is '${CMAKE_MATCH_1}', the project is ${VERSION}")
endif()
