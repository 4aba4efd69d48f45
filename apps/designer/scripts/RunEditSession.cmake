# Runs the editing session, then checks every kind of change it made: the
# form undone is the form from before the change, byte for byte, and redone
# the form from after it. The script names ${OUT}.
file(MAKE_DIRECTORY ${OUT})
configure_file(${SCRIPT_DIR}/EditSession.txt ${OUT}/EditSession.txt)
execute_process(COMMAND ${DESIGNER} ${PACKAGE} --script ${OUT}/EditSession.txt --out ${OUT}/edit RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the editing session failed (${rc})")
endif()

function(compare a b expect_same)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${a}.dfm ${OUT}/${b}.dfm RESULT_VARIABLE rc)
  if(expect_same AND NOT rc EQUAL 0)
    message(FATAL_ERROR "${b}.dfm differs from ${a}.dfm")
  elseif(NOT expect_same AND rc EQUAL 0)
    message(FATAL_ERROR "${b}.dfm is ${a}.dfm: the change changed nothing")
  endif()
endfunction()

foreach(change verb place edit items move size delete cut paste)
  compare(${change}-before ${change}-after FALSE)
  compare(${change}-before ${change}-undone TRUE)
  compare(${change}-after ${change}-redone TRUE)
endforeach()
