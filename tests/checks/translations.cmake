# Checks that the English translation covers every text of the program: lupdate, run over src/
# into a scratch copy of the .ts, finds no new source text, and no entry is left unfinished.
#   cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<src> -DTS=<lendora_en.ts> -DWORK=<scratch dir>
#         -P translations.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(copy "${WORK}/lendora_en.ts")
file(COPY_FILE "${TS}" "${copy}")
execute_process(COMMAND "${LUPDATE}" -locations none -no-obsolete -source-language zh_CN
                        -target-language en "${SOURCE_DIR}" -ts "${copy}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lupdate failed:\n${out}${err}")
endif()
if(NOT "${out}${err}" MATCHES "Found ([0-9]+) source text\\(s\\) \\(([0-9]+) new")
  message(FATAL_ERROR "lupdate said nothing of what it found:\n${out}${err}")
endif()
set(found ${CMAKE_MATCH_1})
set(new ${CMAKE_MATCH_2})

# The entries still to translate, by their source text.
file(READ "${copy}" ts)
string(REPLACE ";" "," ts "${ts}")  # a CMake list separator
string(REGEX MATCHALL "type=\"unfinished\"" marks "${ts}")
list(LENGTH marks count)
string(REGEX MATCHALL "<source>[^<]*</source>[^<]*<translation type=\"unfinished\""
       unfinished "${ts}")
if(NOT new EQUAL 0 OR NOT count EQUAL 0)
  set(sources "")
  foreach(entry ${unfinished})
    string(REGEX REPLACE "<source>([^<]*)</source>.*" "\\1" source "${entry}")
    string(APPEND sources "  ${source}\n")
  endforeach()
  message(FATAL_ERROR "translations/lendora_en.ts is behind the sources: ${new} new source "
                      "text(s), ${count} not translated:\n${sources}"
                      "lupdate -locations none -no-obsolete -source-language zh_CN "
                      "-target-language en src -ts translations/lendora_en.ts adds them.")
endif()
message("${found} source texts, all translated")
