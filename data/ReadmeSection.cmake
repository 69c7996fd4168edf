# Turns the README's "Files" section into a help2man include, so that the manual pages describe
# the same files as the README. Called with -DREADME=... -DOUTPUT=...
file(READ "${README}" text)
string(REGEX MATCH "\n## Files\n(.*)" tail "${text}")
string(REGEX REPLACE "\n## .*" "" section "${CMAKE_MATCH_1}")
string(STRIP "${section}" section)
# Markdown marks that mean nothing in a manual page.
string(REGEX REPLACE "[`*]" "" section "${section}")
string(REGEX REPLACE "\\[([^]]*)\\]\\([^)]*\\)" "\\1" section "${section}")
if(section STREQUAL "")
  message(FATAL_ERROR "README has no Files section")
endif()
file(WRITE "${OUTPUT}.tmp" "[FILES]\n${section}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
