# launchdeck_add_resources(TARGET [LANGUAGE n]
#                  RCDATA NAME file ...
#                  BITMAP NAME file ...
#                  ICON NAME file.ico ...
#                  VERSIONINFO file ...
#                  STRINGTABLE file ...)
#
# Compiles resources into TARGET (a program or a shared library) at build time.
# The resource compiler (ldrc) turns them into a generated source that registers
# them with the module when it loads, so FindResource, LoadResource, LoadStr and
# TResourceStream find them per module.
#
#   RCDATA      raw bytes; a .dfm form file (binary with or without its header, or
#               text) is stored as the bare binary component stream TPF0...
#   BITMAP      a .bmp file, stored without its 14-byte file header
#   ICON        an .ico file: its images as icon resources, NAME the group of them
#   VERSIONINFO a text describing the version block (see platform/stream/ldrc/ldrc.cpp)
#   STRINGTABLE a text file of lines "ID text": ID decimal, the text to the end of
#               the line; C escapes \n \t \r \\ \xNN; lines starting with # and
#               blank lines are skipped
# Names are kept in upper case, as the original's resource compiler does.
#
# A form class finds its stored form by its class name in upper case, so a form
# TMainForm is compiled in as RCDATA TMAINFORM. The same file serves the tree (as
# ld_add_resources) and the installed CMake package, where ldrc is the imported
# program Launchdeck::ldrc.
function(launchdeck_add_resources target)
  cmake_parse_arguments(R "" "LANGUAGE" "" ${ARGN})
  set(args ${R_UNPARSED_ARGUMENTS})
  if(NOT R_LANGUAGE)
    set(R_LANGUAGE 0)
  endif()
  set(ldrc_args --language ${R_LANGUAGE})
  set(inputs "")
  list(LENGTH args n)
  set(i 0)
  while(i LESS n)
    list(GET args ${i} kind)
    if(kind STREQUAL "STRINGTABLE" OR kind STREQUAL "VERSIONINFO")
      math(EXPR i "${i} + 1")
      list(GET args ${i} file)
      get_filename_component(file ${file} ABSOLUTE)
      list(APPEND ldrc_args ${kind} ${file})
    elseif(kind STREQUAL "RCDATA" OR kind STREQUAL "BITMAP" OR kind STREQUAL "ICON")
      math(EXPR i "${i} + 1")
      list(GET args ${i} name)
      math(EXPR i "${i} + 1")
      list(GET args ${i} file)
      get_filename_component(file ${file} ABSOLUTE)
      list(APPEND ldrc_args ${kind} ${name} ${file})
    else()
      message(FATAL_ERROR "launchdeck_add_resources: unknown resource kind '${kind}'")
    endif()
    list(APPEND inputs ${file})
    math(EXPR i "${i} + 1")
  endwhile()
  get_property(count TARGET ${target} PROPERTY LD_RESOURCE_COUNT)
  if(NOT count)
    set(count 0)
  endif()
  math(EXPR next "${count} + 1")
  set_property(TARGET ${target} PROPERTY LD_RESOURCE_COUNT ${next})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources${count}.cpp)
  if(NOT TARGET Launchdeck::ldrc)
    message(FATAL_ERROR "launchdeck_add_resources: the resource compiler Launchdeck::ldrc is unknown here; "
      "call find_package(Launchdeck) first")
  endif()
  # Inside the tree the alias names the program built here; a target-level
  # dependency needs its real name.
  get_target_property(ldrc Launchdeck::ldrc ALIASED_TARGET)
  if(NOT ldrc)
    set(ldrc Launchdeck::ldrc)
  endif()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${ldrc} ${out} ${ldrc_args}
    DEPENDS ${ldrc} ${inputs}
    COMMENT "Compiling resources of ${target}"
    VERBATIM)
  # The target links platform_core already (through whichever layer it uses); linking it
  # here would clash with targets that use target_link_libraries without keywords.
  target_sources(${target} PRIVATE ${out})
endfunction()

# The tree's own name for it.
function(ld_add_resources target)
  launchdeck_add_resources(${target} ${ARGN})
endfunction()
