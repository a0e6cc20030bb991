# Fails when a source file includes a path that climbs with "..": a quoted
# include is looked up beside its file first, so "../app/x.h" would reach a
# layer that the including layer's include root does not show.
#   cmake -DROOT=<source dir> -DSTAMP=<file to touch on success> -P check_includes.cmake
cmake_minimum_required(VERSION 3.25)

file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE ${ROOT} ${ROOT}/src/* ${ROOT}/tests/*)
set(problems)
foreach(source IN LISTS sources)
  if(NOT source MATCHES "\\.(cpp|h|c|rc|in)$")
    continue()
  endif()
  file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">]")
      set(included "${CMAKE_MATCH_1}")
      if(included MATCHES "(^|[/\\\\])\\.\\.([/\\\\]|$)")
        list(APPEND problems "${source}: #include \"${included}\" climbs with \"..\" (include it by its path from the source root)")
      endif()
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Includes that climb out of their folder:\n  ${text}")
endif()
file(TOUCH ${STAMP})
