# Runs the items editor session and checks the saved form: the list on the
# second sheet holds the three items typed into the dialog.
file(MAKE_DIRECTORY ${OUT})
# The sessions keep their recent files beside their output, not in the user's.
set(ENV{XDG_CONFIG_HOME} ${OUT}/config)
configure_file(${SCRIPT_DIR}/ListWithItems.txt ${OUT}/ListWithItems.txt)
execute_process(COMMAND ${DESIGNER} ${PACKAGE} --script ${OUT}/ListWithItems.txt --out ${OUT}/items-session
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the design session failed (${rc})")
endif()
file(READ ${OUT}/ListWithItems.dfm form)
string(REGEX REPLACE "[ \n]+" " " form "${form}")
set(expected "Items.Items = ( '1.7' 3 'Mail' 0 0 True 'Notes' 1 7 True 'Calendar' 2 0 False)")
string(FIND "${form}" "${expected}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the saved form lacks the items: ${form}")
endif()
string(FIND "${form}" "object ShortcutSheet2: TShortcutSheet Caption = 'Tools' object ShortcutList1: TShortcutList" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the list is not on the second sheet: ${form}")
endif()
