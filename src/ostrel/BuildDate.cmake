# Writes the day of the build into a header for the About window. The header is rewritten only when
# the day changes, so an ordinary rebuild compiles nothing again for it. SOURCE_DATE_EPOCH, when set,
# gives the day instead of the clock (reproducible builds).
string(TIMESTAMP day "%Y-%m-%d" UTC)
set(text "#pragma once\n// The day the program was built (UTC), written by the build.\n#define OSTREL_BUILD_DATE \"${day}\"\n")
if(EXISTS "${OUT}")
    file(READ "${OUT}" old)
else()
    set(old "")
endif()
if(NOT old STREQUAL text)
    file(WRITE "${OUT}" "${text}")
endif()
