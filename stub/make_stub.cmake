# Turns the stub script into "vocap.exe": the script, then inert comment lines
# up to a fixed size. Packages patch two fields inside that padding, so the
# script must end before the first of them.
cmake_minimum_required(VERSION 3.25)
set(stub_size 14336)
set(script_limit 11664)

file(READ "${IN}" script)
string(LENGTH "${script}" script_length)
if(script_length GREATER_EQUAL script_limit)
  message(FATAL_ERROR "stub script is ${script_length} bytes; it must end before ${script_limit}")
endif()

string(REPEAT "###############################################################\n" 300 filler)
math(EXPR filler_length "${stub_size} - ${script_length} - 1")
string(SUBSTRING "${filler}" 0 ${filler_length} filler)
set(stub "${script}${filler}\n")

string(LENGTH "${stub}" length)
if(NOT length EQUAL stub_size)
  message(FATAL_ERROR "stub is ${length} bytes, not ${stub_size}")
endif()
foreach(offset RANGE 0 ${stub_size} 1024)
  if(offset LESS stub_size)
    string(SUBSTRING "${stub}" ${offset} 8 start)
    if(start STREQUAL "VOCAPOST")
      message(FATAL_ERROR "a block of the stub starts like a package header")
    endif()
  endif()
endforeach()
file(WRITE "${OUT}" "${stub}")
