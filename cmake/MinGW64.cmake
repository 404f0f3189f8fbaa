# Cross-compiles the Windows program with MinGW-w64 (64-bit, POSIX thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(toolPrefix x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${toolPrefix}-gcc-posix ${toolPrefix}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${toolPrefix}-g++-posix ${toolPrefix}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${toolPrefix}-windres windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${toolPrefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
