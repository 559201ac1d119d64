# Shared build rules: warnings, sanitizers, GoogleTest and test registration.

set(PROJECT_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
                            -fno-sanitize-recover=undefined)
if(WITH_SANITIZERS)
  add_compile_options(${PROJECT_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# Most of a small source's compile time goes to the headers it shares with
# its neighbours: each target compiles its sources in batches of eight, which
# keeps two jobs' memory modest and both cores busy.
set(CMAKE_UNITY_BUILD ${WITH_UNITY_BUILD})
set(CMAKE_UNITY_BUILD_BATCH_SIZE 8)

# Where ccache is installed, a tree this machine compiled before (a fresh
# clone, a wiped build directory) comes from its cache. Paths are hashed
# relative to the source tree, so that clones elsewhere share it; their
# debug information then names the directories of the clone that filled it.
find_program(PROJECT_CCACHE ccache)
if(PROJECT_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1
      CCACHE_SLOPPINESS=pch_defines,time_macros ${PROJECT_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_C_COMPILER_LAUNCHER})
endif()

if(WIN32)
  # No MinGW runtime DLL may have to sit beside the programs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# Test code (test programs, their fixtures and helpers, GoogleTest) is built
# for a short build, not a fast run: it runs for seconds and is compiled on
# every change. Line tables stay, so that a crash or sanitizer report still
# names the function, file and line; only the variables' locations go. The
# programs, the libraries they share with the tests, the fakes (which the
# benchmarks and fuzzers link) and the fuzzers keep the build type's flags.
set(PROJECT_TEST_CODE_FLAGS $<$<COMPILE_LANGUAGE:C,CXX>:-Og> $<$<COMPILE_LANGUAGE:C,CXX>:-g1>)

# Everything built in the calling directory and below it is test code.
macro(project_test_directory)
  add_compile_options(${PROJECT_TEST_CODE_FLAGS})
endmacro()

# Project code is warning-clean; third-party code is not held to that.
function(project_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# Portable library: must compile without <windows.h>.
function(project_library name)
  cmake_parse_arguments(A "" "" "SOURCES;PUBLIC_LIBS;INCLUDES" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  project_warnings(${name})
  target_include_directories(${name} PUBLIC ${A_INCLUDES})
  if(A_PUBLIC_LIBS)
    target_link_libraries(${name} PUBLIC ${A_PUBLIC_LIBS})
  endif()
endfunction()

macro(project_use_googletest)
  set(GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources (Debian package googletest)")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # GoogleTest is not under test: built as test code, without the sanitizers.
  foreach(gtest_target gtest gtest_main gmock gmock_main)
    get_target_property(gtest_options ${gtest_target} COMPILE_OPTIONS)
    if(NOT gtest_options)
      set(gtest_options "")
    endif()
    list(REMOVE_ITEM gtest_options ${PROJECT_SANITIZER_FLAGS})
    set_property(TARGET ${gtest_target} PROPERTY COMPILE_OPTIONS ${gtest_options} ${PROJECT_TEST_CODE_FLAGS})
  endforeach()
  # GoogleTest's and GoogleMock's headers, parsed once per tree and reused by
  # every test source (they were half of a small test's compile time).
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/test_headers.cpp CONTENT "")
  add_library(project_test_headers OBJECT ${CMAKE_BINARY_DIR}/test_headers.cpp)
  project_warnings(project_test_headers)
  target_compile_options(project_test_headers PRIVATE ${PROJECT_TEST_CODE_FLAGS})
  target_link_libraries(project_test_headers PRIVATE GTest::gmock GTest::gtest)
  target_precompile_headers(project_test_headers PRIVATE <gmock/gmock.h> <gtest/gtest.h> <string> <vector>)
  enable_testing()
endmacro()

# Test code that uses GoogleTest: test flags and the shared parsed headers.
function(project_test_code target)
  target_compile_options(${target} PRIVATE ${PROJECT_TEST_CODE_FLAGS})
  target_precompile_headers(${target} REUSE_FROM project_test_headers)
endfunction()

# A GoogleTest program registered with CTest. In a Windows build CTest runs it
# through the Wine harness (CMAKE_CROSSCOMPILING_EMULATOR of the toolchain).
# LABELS: "unit" (portable logic), "win32" (real platform), "e2e" (programs).
function(project_test name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;LABELS;ARGS;DEPENDS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  project_warnings(${name})
  project_test_code(${name})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gmock GTest::gtest_main)
  if(A_DEPENDS)
    add_dependencies(${name} ${A_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} ${A_ARGS})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT} LABELS "${A_LABELS}")
  project_session_test(${name})
endfunction()

# Tests that run in the Wine session's prefix and on its display take turns
# (they share its registry, services and focus); a test with a prefix and a
# display of its own runs beside them.
function(project_session_test)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    set_property(TEST ${ARGN} APPEND PROPERTY RESOURCE_LOCK wine_session)
  endif()
endfunction()
