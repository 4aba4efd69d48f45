# cmake -DOUT=DIR -DPACKAGES="a.dpl;b.bpl;..." -DDECKINSTALL=FILE -DREFERENCE=DIR
#       [-DDECKINSTALL_EXE=FILE] -P MakeDist.cmake
#
# Lays out the distribution folder the installer expects: each package build in
# the folder of its host (LibD3, LibD4, LibD5, LibCB3), Help with the help file
# and its contents file (and the reference's HTML edition in Help/html), and
# the installer beside them. REFERENCE is the folder of the built reference.
# Only these entries of OUT are replaced; anything else in it stays.
foreach(var OUT PACKAGES DECKINSTALL REFERENCE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "MakeDist.cmake: -D${var}=... missing")
  endif()
endforeach()

set(folders LibD3 LibD4 LibD5 LibCB3)
set(files LaunchdeckPackageD3.dpl LaunchdeckPackageD4.bpl LaunchdeckPackageD5.bpl LaunchdeckPackageCB3.bpl)
foreach(folder ${folders})
  file(REMOVE_RECURSE ${OUT}/${folder})
  file(MAKE_DIRECTORY ${OUT}/${folder})
endforeach()
foreach(file Launchdeck.hlp Launchdeck.cnt html/index.html)
  if(NOT EXISTS ${REFERENCE}/${file})
    message(FATAL_ERROR "MakeDist.cmake: ${REFERENCE}/${file} missing: build the reference first")
  endif()
endforeach()
file(REMOVE_RECURSE ${OUT}/Help)
file(MAKE_DIRECTORY ${OUT}/Help)
file(COPY ${REFERENCE}/Launchdeck.hlp ${REFERENCE}/Launchdeck.cnt ${REFERENCE}/html DESTINATION ${OUT}/Help)

foreach(package ${PACKAGES})
  get_filename_component(name ${package} NAME)
  list(FIND files ${name} index)
  if(index LESS 0)
    message(FATAL_ERROR "MakeDist.cmake: ${name} is not one of the package builds")
  endif()
  list(GET folders ${index} folder)
  file(COPY ${package} DESTINATION ${OUT}/${folder})
endforeach()

file(REMOVE ${OUT}/deckinstall ${OUT}/Deckinstall.exe)
file(COPY ${DECKINSTALL} DESTINATION ${OUT})
if(DECKINSTALL_EXE)
  file(COPY ${DECKINSTALL_EXE} DESTINATION ${OUT})
endif()
