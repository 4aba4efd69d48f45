# cmake -DHALIBUT=halibut -DSOURCES="a.but;b.but" -DOUT=DIR -P BuildReference.cmake
#
# Runs Halibut once over the reference's source and lays out its output in OUT:
# Launchdeck.hlp, Launchdeck.cnt and html/. Halibut's contents file lacks the
# :Base line that names the help file, so a contents file copied or merged
# elsewhere would not find its topics; it is added here, and the line ends are
# made CR LF throughout, as the help viewer's own contents files have them.
# Any warning of Halibut fails the build, so that a broken cross-reference or
# index term cannot slip into the files.
foreach(var HALIBUT SOURCES OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "BuildReference.cmake: -D${var}=... missing")
  endif()
endforeach()

set(work ${OUT}/work)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
execute_process(COMMAND ${HALIBUT} --winhelp=Launchdeck.hlp --html ${SOURCES}
  WORKING_DIRECTORY ${work}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT errors STREQUAL "")
  message(FATAL_ERROR "halibut failed (${result}):\n${output}${errors}")
endif()

file(READ ${work}/Launchdeck.cnt contents)
string(REPLACE "\r\n" "\n" contents "${contents}")
if(NOT contents MATCHES "(^|\n):Base ")
  if(contents MATCHES "^:Title [^\n]*\n")
    string(REGEX REPLACE "^(:Title [^\n]*\n)" "\\1:Base Launchdeck.hlp\n" contents "${contents}")
  else()
    set(contents ":Base Launchdeck.hlp\n${contents}")
  endif()
endif()
string(REGEX REPLACE "\n+$" "" contents "${contents}")
string(APPEND contents "\n")
string(REPLACE "\n" "\r\n" contents "${contents}")
file(WRITE ${work}/Launchdeck.cnt "${contents}")

file(REMOVE_RECURSE ${OUT}/html)
file(MAKE_DIRECTORY ${OUT}/html)
file(GLOB pages ${work}/*.html)
file(COPY ${pages} DESTINATION ${OUT}/html)
file(COPY ${work}/Launchdeck.hlp ${work}/Launchdeck.cnt DESTINATION ${OUT})
file(REMOVE_RECURSE ${work})
