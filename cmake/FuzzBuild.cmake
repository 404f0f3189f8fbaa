# From a native build, builds the fuzz targets of tests/fuzz with clang and libFuzzer in
# build/fuzz and makes their time-bounded runs part of this build's CTest run.
include(ExternalProject)

option(DAYVANE_FUZZ "Also build the fuzz targets with clang and libFuzzer" ON)
if(NOT DAYVANE_FUZZ)
  return()
endif()

# libFuzzer is part of clang's runtime; g++ has no counterpart, so this build needs clang too.
find_program(DAYVANE_CLANGXX NAMES clang++ clang++-14 REQUIRED)

set(fuzzDir ${CMAKE_BINARY_DIR}/fuzz)
ExternalProject_Add(fuzz
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tests/fuzz
  BINARY_DIR ${fuzzDir}
  CMAKE_ARGS
    -DCMAKE_CXX_COMPILER=${DAYVANE_CLANGXX}
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DDAYVANE_VERSION=${PROJECT_VERSION}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)

# The fuzz tests are registered in the fuzz build; CTest reads them from there.
if(BUILD_TESTING)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${fuzzDir}/CTestTestfile.cmake)
endif()
