# Small helpers shared by every folder's CMakeLists.txt.

# Adds every immediate sub-folder of DIR that has a CMakeLists.txt, in name order.
function(ld_add_subdirectories dir)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_SOURCE_DIR}/${dir} ${CMAKE_SOURCE_DIR}/${dir}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${dir}/${child} AND EXISTS ${CMAKE_SOURCE_DIR}/${dir}/${child}/CMakeLists.txt)
      add_subdirectory(${CMAKE_SOURCE_DIR}/${dir}/${child} ${CMAKE_BINARY_DIR}/${dir}/${child})
    endif()
  endforeach()
endfunction()

# ld_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One GoogleTest program, registered with CTest as one test.
function(ld_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "LD_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output")
endfunction()

# ld_add_benchmark(NAME SOURCES a.cpp LIBS lib1)
function(ld_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()

# ld_add_fuzz(NAME SOURCES target.cpp LIBS lib1 [ITERATIONS n] [SEEDS dir])
# A fuzz target defines LLVMFuzzerTestOneInput. It is always built as a CTest
# mutation test (a fixed number of mutated inputs, so the run is repeatable); with
# LD_LIBFUZZER (clang) it is also built as a libFuzzer program NAME_libfuzzer, whose
# layers are instrumented by the top-level CMakeLists.txt.
function(ld_add_fuzz name)
  cmake_parse_arguments(F "" "ITERATIONS;SEEDS" "SOURCES;LIBS" ${ARGN})
  if(NOT F_ITERATIONS)
    set(F_ITERATIONS 20000)
  endif()
  add_executable(${name}_mutation ${F_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/MutationDriver.cpp)
  target_link_libraries(${name}_mutation PRIVATE ${F_LIBS})
  add_test(NAME ${name}_mutation COMMAND ${name}_mutation ${F_ITERATIONS} ${F_SEEDS})
  if(LD_LIBFUZZER)
    add_executable(${name}_libfuzzer ${F_SOURCES})
    target_compile_options(${name}_libfuzzer PRIVATE -fsanitize=fuzzer)
    target_link_options(${name}_libfuzzer PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name}_libfuzzer PRIVATE ${F_LIBS})
  endif()
endfunction()

# ld_add_layer(NAME SOURCES ... DEPS ... [PRIVATE_DEPS ...] [EXPORT Name]): one
# shared library per layer, so that programs and loaded packages share one class
# registry, screen and queue. EXPORT makes it part of the installed library, as
# Launchdeck::Name with the headers of its folder.
function(ld_add_layer name)
  cmake_parse_arguments(L "" "EXPORT" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} SHARED ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS})
  if(L_EXPORT)
    ld_install_layer(${name} ${L_EXPORT})
  endif()
endfunction()

# ---- the installed library ------------------------------------------------------
# Headers go under include/launchdeck with their paths in the tree, so that
# "platform/vcl/Forms.h" reads the same inside and outside it. Installed files find
# each other by paths relative to themselves ($ORIGIN), so a prefix can be moved.
set(LD_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/launchdeck)
set(LD_INSTALL_PACKAGEDIR ${CMAKE_INSTALL_LIBDIR}/launchdeck/packages)

# The run path from installed folder DIR to the installed libraries.
function(ld_origin_rpath out dir)
  file(RELATIVE_PATH rel /${dir} /${CMAKE_INSTALL_LIBDIR})
  string(REGEX REPLACE "/$" "" rel "${rel}")
  if(rel STREQUAL "")
    set(${out} "$ORIGIN" PARENT_SCOPE)
  else()
    set(${out} "$ORIGIN/${rel}" PARENT_SCOPE)
  endif()
endfunction()

# A layer as Launchdeck::Name: liblaunchdeck-name.so.MAJOR in the library folder,
# its folder's headers, the include path and C++ standard its users need.
function(ld_install_layer target name)
  string(TOLOWER ${name} file_name)
  ld_origin_rpath(rpath ${CMAKE_INSTALL_LIBDIR})
  set_target_properties(${target} PROPERTIES
    EXPORT_NAME ${name}
    OUTPUT_NAME launchdeck-${file_name}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    INSTALL_RPATH "${rpath}")
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}> $<INSTALL_INTERFACE:${LD_INSTALL_INCLUDEDIR}>)
  target_compile_features(${target} PUBLIC cxx_std_20)
  add_library(Launchdeck::${name} ALIAS ${target})
  install(TARGETS ${target} EXPORT LaunchdeckTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB headers ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  install(FILES ${headers} DESTINATION ${LD_INSTALL_INCLUDEDIR}/${folder})
endfunction()

# ld_install_program(TARGET [EXPORT]): a program users run, in bin/. EXPORT also
# makes it an imported program of the CMake package (Launchdeck::TARGET).
function(ld_install_program target)
  cmake_parse_arguments(P "EXPORT" "" "" ${ARGN})
  ld_origin_rpath(rpath ${CMAKE_INSTALL_BINDIR})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "${rpath}")
  if(P_EXPORT)
    add_executable(Launchdeck::${target} ALIAS ${target})
    install(TARGETS ${target} EXPORT LaunchdeckTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  else()
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endfunction()
