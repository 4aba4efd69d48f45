# Runs the scripted session, then opens the saved form in a second session
# and checks its components there. The scripts name ${OUT}.
file(MAKE_DIRECTORY ${OUT})
foreach(name BarWithSheets Reopen)
  configure_file(${SCRIPT_DIR}/${name}.txt ${OUT}/${name}.txt)
endforeach()
execute_process(COMMAND ${DESIGNER} ${PACKAGE} --script ${OUT}/BarWithSheets.txt --out ${OUT}/session
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the design session failed (${rc})")
endif()
execute_process(COMMAND ${DESIGNER} ${PACKAGE} ${OUT}/BarWithSheets.dfm --script ${OUT}/Reopen.txt
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the saved form did not open again (${rc})")
endif()
