# Runs the scripted sessions, then opens each saved form in a second session
# and checks it there: its components, and that saving it again gives the
# same bytes. The scripts name ${OUT}.
file(MAKE_DIRECTORY ${OUT})
# The sessions keep their recent files beside their output, not in the user's.
set(ENV{XDG_CONFIG_HOME} ${OUT}/config)
foreach(name BarWithSheets Reopen PropertiesAndMenu ReopenDesigned EveryKind OpenEveryKind)
  configure_file(${SCRIPT_DIR}/${name}.txt ${OUT}/${name}.txt)
endforeach()

function(run_designer what)
  execute_process(COMMAND ${DESIGNER} ${PACKAGE} ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} (${rc})")
  endif()
endfunction()

function(expect_same a b)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${a} ${OUT}/${b} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${b} differs from ${a}: the form changed on its way through the designer")
  endif()
endfunction()

run_designer("the design session failed" --script ${OUT}/BarWithSheets.txt --out ${OUT}/session)
run_designer("the saved form did not open again" ${OUT}/BarWithSheets.dfm --script ${OUT}/Reopen.txt)
expect_same(BarWithSheets.dfm Reopened.dfm)

run_designer("the session through the property view and the menu failed"
  --script ${OUT}/PropertiesAndMenu.txt --out ${OUT}/properties)
run_designer("the form saved with the buttons did not open again"
  ${OUT}/Designed.dfm --script ${OUT}/ReopenDesigned.txt)
expect_same(Designed.dfm DesignedAgain.dfm)
expect_same(Designed.txt.dfm DesignedAgain.txt.dfm)

# Every kind of property through the view: the saved form holds each as the
# host's text form does; closing with changes saved them; opened again and
# saved, the bytes are the same.
run_designer("the session of every kind of property failed" --script ${OUT}/EveryKind.txt --out ${OUT}/every-kind)
file(READ ${OUT}/EveryKind.dfm form)
foreach(line "Caption = 'Every kind'" "Options = [soFlatTabs, soHotTabs]" "TabColor = clInfoBk" "TabHeight = 24"
    "ActiveSheet = ShortcutSheet1" "Font.Style = [fsBold]" "Constraints.MinWidth = 60"
    "OnChange = Launchdeck1Change" "OnClick = ShortcutList1Click")
  string(FIND "${form}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "EveryKind.dfm lacks ${line}: ${form}")
  endif()
endforeach()
file(COPY ${OUT}/EveryKind.dfm DESTINATION ${OUT}/before)
run_designer("the form of every kind did not open again" --script ${OUT}/OpenEveryKind.txt)
expect_same(before/EveryKind.dfm EveryKind.dfm)
