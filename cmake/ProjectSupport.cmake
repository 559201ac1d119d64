# Shared build rules: warnings, sanitizers, GoogleTest and test registration.

if(WITH_SANITIZERS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # No MinGW runtime DLL may have to sit beside the programs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

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
  enable_testing()
endmacro()

# A GoogleTest program registered with CTest. In a Windows build CTest runs it
# through the Wine harness (CMAKE_CROSSCOMPILING_EMULATOR of the toolchain).
# LABELS: "unit" (portable logic), "win32" (real platform), "e2e" (programs).
function(project_test name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;LABELS;ARGS;DEPENDS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  project_warnings(${name})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gmock GTest::gtest_main)
  if(A_DEPENDS)
    add_dependencies(${name} ${A_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} ${A_ARGS})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT} LABELS "${A_LABELS}")
endfunction()
