# Checks what a Windows program asks of the loader, from `objdump -p`:
#   cmake -DOBJDUMP=... -DFILE=Setup.exe -DALLOWED=kernel32.dll,user32.dll -DFLAGS=DYNAMIC_BASE,NX_COMPAT
#         -P check_pe.cmake
# Fails when FILE imports from a DLL not in ALLOWED (any case), has delay
# imports (a DLL loaded on first call, out of this check's sight), lacks one
# of FLAGS in its DllCharacteristics, or has no relocations (without them a
# dynamic base cannot move).
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE dump ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${FILE} failed: ${errors}")
endif()

string(TOLOWER "${ALLOWED}" allowed)
string(REPLACE "," ";" allowed "${allowed}")
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "${FILE}: no import table found in the objdump output")
endif()
set(seen)
set(problems)
foreach(line IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: " "" name "${line}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" name)
  list(APPEND seen ${name})
  if(NOT name IN_LIST allowed)
    list(APPEND problems "imports from ${name}, which the loader may look for beside the program")
  endif()
endforeach()

# objdump lists each data directory as "Entry N <address> <size> <name>".
foreach(directory "Delay Import Directory" "Base Relocation Directory")
  if(NOT dump MATCHES "Entry [0-9a-f]+ +[0-9a-fA-F]+ +([0-9a-fA-F]+) +${directory}")
    message(FATAL_ERROR "${FILE}: no ${directory} entry in the objdump output")
  endif()
  math(EXPR size "0x${CMAKE_MATCH_1}")
  if(directory STREQUAL "Delay Import Directory" AND NOT size EQUAL 0)
    list(APPEND problems "has delay imports")
  elseif(directory STREQUAL "Base Relocation Directory" AND size EQUAL 0)
    list(APPEND problems "has no relocations")
  endif()
endforeach()

if(NOT dump MATCHES "DllCharacteristics[ \t]+([0-9a-fA-F]+)")
  message(FATAL_ERROR "${FILE}: no DllCharacteristics in the objdump output")
endif()
math(EXPR characteristics "0x${CMAKE_MATCH_1}")
set(bit_HIGH_ENTROPY_VA 0x20)
set(bit_DYNAMIC_BASE 0x40)
set(bit_NX_COMPAT 0x100)
string(REPLACE "," ";" flags "${FLAGS}")
foreach(flag IN LISTS flags)
  if(NOT DEFINED bit_${flag})
    message(FATAL_ERROR "unknown flag ${flag}")
  endif()
  math(EXPR set_bits "${characteristics} & ${bit_${flag}}")
  if(set_bits EQUAL 0)
    list(APPEND problems "lacks ${flag}")
  endif()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "${FILE}:\n  ${text}")
endif()
list(JOIN seen ", " seen)
message(STATUS "${FILE}: imports from ${seen}; DllCharacteristics ${characteristics} has ${FLAGS}")
