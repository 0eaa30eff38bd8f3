# Checks that every C++ source of the tree is formatted as .clang-format says.
#   cmake -DROOT=<project root> -DCLANG_FORMAT=<clang-format-14> -P format.cmake
file(GLOB_RECURSE sources RELATIVE "${ROOT}"
  "${ROOT}/src/*.cpp" "${ROOT}/src/*.h" "${ROOT}/tests/*.cpp" "${ROOT}/tests/*.h"
  "${ROOT}/bench/*.cpp" "${ROOT}/bench/*.h" "${ROOT}/tools/*.cpp" "${ROOT}/fuzz/*.cpp")
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run -Werror ${sources}
  WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE result ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  string(REGEX MATCHALL "[^\n]*: error:[^\n]*" first "${out}")
  list(SUBLIST first 0 20 first)
  string(REPLACE ";" "\n" first "${first}")
  message(FATAL_ERROR "not formatted (clang-format-14 -i fixes it):\n${first}")
endif()
list(LENGTH sources count)
message("${count} files formatted")
