# SPDX-License-Identifier: MIT
# Fails when a shell completion script or a manual page names other options
# than the program's option table, as its --help prints it.
#   -DPROGRAM=zurconv -DCOMPLETION=file -DMAN=file [-DUNLISTED=-h,--help]
# UNLISTED: options the program takes that its help does not list.
cmake_minimum_required(VERSION 3.25)

# The option names in `text`: "-o" or "--output" after a blank, "|", "(" or "'".
function(option_names text out)
  string(REGEX MATCHALL "(^|[ |('\n])--?[a-z][a-z-]*" found "${text}")
  list(TRANSFORM found REPLACE "^[ |('\n]" "")
  set(${out} ${found} PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
endif()
# The table's options: the first column of each help line that starts with one.
string(REPLACE "," ";" table "${UNLISTED}")
string(REPLACE "\n" ";" lines "${help}")
foreach(line IN LISTS lines)
  if(line MATCHES "^ +(-[^ ]*( [-A-Za-z,]+)*)  ")
    option_names(" ${CMAKE_MATCH_1}" names)
    list(APPEND table ${names})
  endif()
endforeach()

# The completion's options: its word lists and the options its cases match.
file(READ ${COMPLETION} completion)
set(completed "")
string(REGEX MATCHALL "-W '[^']*'" words "${completion}")
string(REGEX MATCHALL "\n *-[-a-z|]+\\)" cases "${completion}")
foreach(part IN LISTS words cases)
  string(REPLACE "-W '" "'" part "${part}")
  option_names("${part}" names)
  list(APPEND completed ${names})
endforeach()

# The manual page's options: those its bold macros set.
file(STRINGS ${MAN} man_lines REGEX "^\\.(B|BR|BI|RB) ")
set(documented "")
foreach(line IN LISTS man_lines)
  string(REPLACE "\\-" "-" line "${line}")
  option_names("${line}" names)
  list(APPEND documented ${names})
endforeach()

list(REMOVE_DUPLICATES table)
list(SORT table)
set(failed FALSE)
foreach(source completed documented)
  list(REMOVE_DUPLICATES ${source})
  list(SORT ${source})
  if(NOT "${${source}}" STREQUAL "${table}")
    set(failed TRUE)
    message(SEND_ERROR "${source} options differ from ${PROGRAM}'s table:\n"
                       "  table:    ${table}\n  ${source}: ${${source}}")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "Files named: ${COMPLETION}, ${MAN}")
endif()
