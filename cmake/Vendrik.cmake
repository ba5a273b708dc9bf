# Shared CMake helpers of the Vendrik tree.

# Adds every direct subfolder of the current folder that has a CMakeLists.txt,
# in name order, so helpers working on separate subfolders never edit one file.
function(vendrik_add_subdirs)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# vendrik_add_test_support(<name> SOURCES a.cpp ... [LIBS lib1 ...])
# Sources that several test programs build in (fixtures, sample-file writers):
# compiled once, and linked whole into each program that names <name> among
# its LIBS, as if they were among its SOURCES. LIBS are what they include.
function(vendrik_add_test_support name)
  cmake_parse_arguments(S "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} OBJECT ${S_SOURCES})
  target_link_libraries(${name} PUBLIC ${S_LIBS} GTest::gtest GTest::gmock Threads::Threads)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE VENDRIK_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                             VENDRIK_BINARY_DIR="${PROJECT_BINARY_DIR}")
endfunction()

# vendrik_add_test(<name> SOURCES a.cpp b.cpp LIBS lib1 lib2 [TIMEOUT s] [THREADS] [SLOW])
# One GoogleTest executable; every case becomes a CTest test with the offscreen
# Qt platform and a private settings and data folder.
# THREADS: the program starts threads (its own, or through the code it tests:
# the link, the marking worker, the text port, timers, watchers, playback).
# Its cases get the CTest label "threads"; scripts/test-threads.sh, run by CI,
# repeats them under ThreadSanitizer (every other test runs there once).
# Iterate with: ctest --test-dir <tsan build> -L threads --repeat until-fail:3
# SLOW: some of its cases take tens of seconds; its cases are started first,
# so that a fresh build folder (which has no timings yet) does not end its run
# waiting for one of them, and get 600 s before they count as hung (started
# together on a busy machine they take several times their time alone).
# Hand data to the UI thread through platform_qt::QtMessageTarget or
# platform_qt::PostToUiThread, never a queued Qt call: an event of your own
# must mark its hand-over (platform/RaceCheck.h), as the checker cannot see
# inside Qt.
function(vendrik_add_test name)
  cmake_parse_arguments(T "THREADS;SLOW" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    if(T_SLOW)
      set(T_TIMEOUT 600)
    else()
      set(T_TIMEOUT 120)
    endif()
  endif()
  set(properties TIMEOUT ${T_TIMEOUT})
  if(T_THREADS)
    list(APPEND properties LABELS threads)
  endif()
  if(T_SLOW)
    list(APPEND properties COST 1000)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE VENDRIK_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                             VENDRIK_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # Environment and sanitizer settings come from a file built into every test
  # program (a test's property list reaches the discovered tests only in part).
  # Its home folder is test-home/<program name> in the build folder.
  if(NOT TARGET vendrik_test_environment)
    vendrik_add_test_support(vendrik_test_environment SOURCES ${PROJECT_SOURCE_DIR}/tests/support/TestEnvironment.cpp)
  endif()
  target_link_libraries(${name} PRIVATE vendrik_test_environment)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    PROPERTIES ${properties})
endfunction()

# vendrik_add_bench(<name> SOURCES ... LIBS ...)
function(vendrik_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# vendrik_add_fuzz(<name> SOURCES ... LIBS ... CORPUS <folder>)
# A fuzz target is a file defining LLVMFuzzerTestOneInput. Every build turns it
# into a replay program run by CTest over the files of its corpus folder, so
# inputs that once crashed a reader keep being read; with VENDRIK_FUZZ on and
# clang as the compiler it also becomes a libFuzzer program <name>_fuzz.
function(vendrik_add_fuzz name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT TARGET vendrik_fuzz_replay_main)
    add_library(vendrik_fuzz_replay_main OBJECT ${PROJECT_SOURCE_DIR}/tests/support/FuzzReplayMain.cpp)
  endif()
  add_executable(${name}_replay ${F_SOURCES})
  target_link_libraries(${name}_replay PRIVATE ${F_LIBS} vendrik_fuzz_replay_main Threads::Threads)
  target_include_directories(${name}_replay PRIVATE ${PROJECT_SOURCE_DIR})
  set(home ${PROJECT_BINARY_DIR}/test-home/${name}_replay)
  add_test(NAME Fuzz.${name}.ReplaysItsCorpus COMMAND ${name}_replay ${F_CORPUS})
  set_tests_properties(Fuzz.${name}.ReplaysItsCorpus PROPERTIES TIMEOUT 300
    ENVIRONMENT "HOME=${home};VENDRIK_CONFIG_DIR=${home}/config;VENDRIK_DATA_DIR=${home}/data;QT_QPA_PLATFORM=offscreen")
  if(VENDRIK_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_executable(${name}_fuzz ${F_SOURCES})
    target_link_libraries(${name}_fuzz PRIVATE ${F_LIBS} Threads::Threads)
    target_include_directories(${name}_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
    target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()
