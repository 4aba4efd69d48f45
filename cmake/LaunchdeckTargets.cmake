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

# ld_add_layer(NAME SOURCES ... DEPS ...): one shared library per layer, so that
# programs and loaded packages share one class registry, screen and queue.
function(ld_add_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} SHARED ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS})
endfunction()
