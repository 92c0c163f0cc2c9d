# Build step: the module exports ghMove under its plain name and needs no DLL
# beyond the Windows system libraries and the vault client's stored-procedure
# library.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

# The name table lists one "[ n] name" line per export and ends at a blank line.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(\t\\[[^\n]*\n)*" table "${dump}")
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" entries "${table}")
set(names "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^\t\\[ *[0-9]+\\] " "" name "${entry}")
  list(APPEND names "${name}")
endforeach()
if(NOT names STREQUAL "ghMove")
  message(FATAL_ERROR "${DLL} must export exactly ghMove, found: ${names}")
endif()

set(allowed KERNEL32.dll USER32.dll ADVAPI32.dll OLE32.dll OLEAUT32.dll SHELL32.dll SHLWAPI.dll
    msvcrt.dll RstrtMgr.dll Dalbrook.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOUPPER "${dll}" upper)
  set(found FALSE)
  foreach(ok IN LISTS allowed)
    string(TOUPPER "${ok}" ok_upper)
    if(upper STREQUAL ok_upper)
      set(found TRUE)
    endif()
  endforeach()
  if(NOT found)
    message(FATAL_ERROR "${DLL} depends on ${dll}, which is neither a Windows system DLL nor Dalbrook.dll")
  endif()
endforeach()
