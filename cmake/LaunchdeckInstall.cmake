# The installed library (cmake --install): what a program outside the tree needs.
#
#   lib/                        liblaunchdeck-LAYER.so.MAJOR, one per layer
#   lib/launchdeck/packages/    the package builds
#   lib/cmake/Launchdeck/       the CMake package: find_package(Launchdeck)
#   lib/pkgconfig/launchdeck.pc the same for builds without CMake
#   include/launchdeck/         the headers, with their paths in the tree
#   bin/                        ldrc, dfmconv, designer, deckinstall
#
# Each layer declares itself (ld_add_layer ... EXPORT Name) and each program
# (ld_install_program); this file adds the two targets that gather them.
include(CMakePackageConfigHelpers)

# Launchdeck::Platform: every layer of the platform, the backends included, so
# that a program can open its window. Launchdeck::Controls: the component set
# and the platform under it: all a program of the bar and its lists links.
set(LD_PLATFORM_LAYERS
  platform_core platform_stream platform_gfx platform_win platform_vcl platform_stdctrls platform_backends)
set(LD_CONTROLS_LAYERS controls_shared controls_bar controls_list)

add_library(launchdeck_platform INTERFACE)
target_link_libraries(launchdeck_platform INTERFACE ${LD_PLATFORM_LAYERS})
set_target_properties(launchdeck_platform PROPERTIES EXPORT_NAME Platform)
add_library(Launchdeck::Platform ALIAS launchdeck_platform)

add_library(launchdeck_controls INTERFACE)
target_link_libraries(launchdeck_controls INTERFACE ${LD_CONTROLS_LAYERS} launchdeck_platform)
set_target_properties(launchdeck_controls PROPERTIES EXPORT_NAME Controls)
add_library(Launchdeck::Controls ALIAS launchdeck_controls)

install(TARGETS launchdeck_platform launchdeck_controls EXPORT LaunchdeckTargets)
# The version, for programs that check it as they compile.
install(FILES ${CMAKE_BINARY_DIR}/generated/LaunchdeckVersion.h DESTINATION ${LD_INSTALL_INCLUDEDIR})

# ---- the CMake package ----------------------------------------------------------
set(LD_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Launchdeck)
install(EXPORT LaunchdeckTargets NAMESPACE Launchdeck:: DESTINATION ${LD_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/LaunchdeckConfig.cmake.in
  ${CMAKE_BINARY_DIR}/install/LaunchdeckConfig.cmake
  INSTALL_DESTINATION ${LD_INSTALL_CMAKEDIR}
  PATH_VARS LD_INSTALL_PACKAGEDIR)
# A program written for 1.x builds against any later 1.x.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/install/LaunchdeckConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_BINARY_DIR}/install/LaunchdeckConfig.cmake
  ${CMAKE_BINARY_DIR}/install/LaunchdeckConfigVersion.cmake
  ${CMAKE_SOURCE_DIR}/cmake/LaunchdeckResources.cmake
  DESTINATION ${LD_INSTALL_CMAKEDIR})

# ---- pkg-config -----------------------------------------------------------------
# The file finds the prefix from where it lies, as the CMake package does, so
# that `cmake --install --prefix` anywhere gives a working file.
file(RELATIVE_PATH LD_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" LD_PC_TO_PREFIX "${LD_PC_TO_PREFIX}")
set(LD_PC_LIBS "")
foreach(layer ${LD_CONTROLS_LAYERS} ${LD_PLATFORM_LAYERS})
  get_target_property(file_name ${layer} OUTPUT_NAME)
  string(APPEND LD_PC_LIBS " -l${file_name}")
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/cmake/launchdeck.pc.in ${CMAKE_BINARY_DIR}/install/launchdeck.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/launchdeck.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
