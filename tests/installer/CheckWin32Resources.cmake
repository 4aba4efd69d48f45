# Checks what Deckinstall.exe carries: a GUI-subsystem i386 program with the
# version resource and the application icon it is shipped with.
#   cmake -DEXE=... -DWINDRES=... -DOBJDUMP=... -P CheckWin32Resources.cmake
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot read the headers of ${EXE}")
endif()
foreach(expected "file format pei-i386" "Subsystem[ \t]+00000002[ \t]+\\(Windows GUI\\)")
  if(NOT headers MATCHES "${expected}")
    message(FATAL_ERROR "${EXE}: headers lack '${expected}'")
  endif()
endforeach()

execute_process(COMMAND ${WINDRES} -i ${EXE} -O rc OUTPUT_VARIABLE resources RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot read the resources of ${EXE}")
endif()
foreach(expected
    "FILEVERSION 1, 0, 0, 0" "PRODUCTVERSION 1, 0, 0, 0" "FILEOS 0x4\n" "FILETYPE 0x1\n"
    "BLOCK \"080904E4\"" "VALUE \"FileDescription\", \"Delphi 3 Component Installer\""
    "VALUE \"FileVersion\", \"1.0.0.0\"" "VALUE \"ProductVersion\", \"1.0.0.0\""
    "VALUE \"InternalName\", \"Deckinstall\"" "VALUE \"OriginalFilename\", \"Deckinstall.exe\""
    "VALUE \"ProductName\", \"Deckinstall\"" "VALUE \"Translation\", 0x809, 1252"
    "\"MAINICON\" 14 /\\* RT_GROUP_ICON \\*/")
  string(FIND "${resources}" "${expected}" at)
  if(at EQUAL -1 AND NOT resources MATCHES "${expected}")
    message(FATAL_ERROR "${EXE}: resources lack '${expected}'\n${resources}")
  endif()
endforeach()
if(resources MATCHES "FILEFLAGS 0x[1-9a-f]")
  message(FATAL_ERROR "${EXE}: file flags must be 0")
endif()
string(REGEX MATCHALL "/\\* RT_ICON \\*/" icons "${resources}")
list(LENGTH icons count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${EXE}: ${count} icon images, one expected")
endif()
message(STATUS "${EXE}: GUI program with its version resource and one icon")
