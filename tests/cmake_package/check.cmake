# SPDX-License-Identifier: MIT
# Installs zurconv into a staging folder, builds the game project beside
# this script against it with Ninja, and checks that a level is converted
# again exactly when one of its sources changes.
#
#   cmake -DZUR_BUILD=<zurconv build> -DLEVEL=<folder with jungle.*>
#         -DWORK=<scratch folder> -P check.cmake

cmake_minimum_required(VERSION 3.25)

set(stage "${WORK}/stage")
set(game "${WORK}/game src")
set(build "${WORK}/game build")
file(REMOVE_RECURSE "${WORK}")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# Builds the game; `expected` lists the levels that must be converted, and
# no other may be.
function(build_converting)
  run(${CMAKE_COMMAND} --build "${build}")
  foreach(level jungle cave)
    string(FIND "${out}" "Converting level ${game}/my levels/${level}\n" at)
    if(level IN_LIST ARGN AND at EQUAL -1)
      message(FATAL_ERROR "${level} was not converted:\n${out}")
    elseif(NOT level IN_LIST ARGN AND NOT at EQUAL -1)
      message(FATAL_ERROR "${level} was converted again:\n${out}")
    endif()
  endforeach()
endfunction()

run(${CMAKE_COMMAND} --install "${ZUR_BUILD}" --prefix "${stage}")
file(MAKE_DIRECTORY "${game}/my levels")
file(COPY "${CMAKE_CURRENT_LIST_DIR}/CMakeLists.txt" DESTINATION "${game}")
# The sources are found whatever their letter case.
file(COPY_FILE "${LEVEL}/jungle.txt" "${game}/my levels/jungle.txt")
file(COPY_FILE "${LEVEL}/jungle.tga" "${game}/my levels/jungle.tga")
file(COPY_FILE "${LEVEL}/jungle.jpg" "${game}/my levels/jungle.jpg")
file(COPY_FILE "${LEVEL}/junglep.jpg" "${game}/my levels/JUNGLEP.JPG")
foreach(suffix .txt .tga .jpg p.jpg)
  file(COPY_FILE "${LEVEL}/jungle${suffix}" "${game}/my levels/cave${suffix}")
endforeach()
file(WRITE "${game}/my levels/notes.txt" "not a source\n")

run(${CMAKE_COMMAND} -G Ninja -S "${game}" -B "${build}" "-DCMAKE_PREFIX_PATH=${stage}")
build_converting(jungle cave)
foreach(level "my levels/jungle.lev" "levels/cave 1.lev")
  file(SIZE "${build}/${level}" size)
  if(size LESS 958)
    message(FATAL_ERROR "${level} holds only ${size} bytes")
  endif()
endforeach()

build_converting()
# A file touched after the build is newer than every level file.
run(${CMAKE_COMMAND} -E touch "${game}/my levels/notes.txt")
build_converting()
run(${CMAKE_COMMAND} -E touch "${game}/my levels/JUNGLEP.JPG")
build_converting(jungle)
run(${CMAKE_COMMAND} -E touch "${game}/my levels/cave.txt")
build_converting(cave)
