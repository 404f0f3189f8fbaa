# From a native build, builds the Windows program with MinGW-w64 in build/windows and
# makes its window tests part of this build's CTest run.
include(ExternalProject)

option(DAYVANE_WINDOWS "Also build the Windows program with MinGW-w64" ON)
if(NOT DAYVANE_WINDOWS)
  return()
endif()

set(windowsDir ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(windows
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${windowsDir}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/MinGW64.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DDAYVANE_ARTIFACTS=${CMAKE_BINARY_DIR}/test-artifacts
    -DDAYVANE_WINE_PREFIX=${CMAKE_BINARY_DIR}/wine-prefix
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON
  # make run configures the Windows build alone, then builds only what it runs there.
  STEP_TARGETS configure)

# The window tests are registered in the Windows build; CTest reads them from there.
if(BUILD_TESTING)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${windowsDir}/tests/gui/CTestTestfile.cmake)
endif()
