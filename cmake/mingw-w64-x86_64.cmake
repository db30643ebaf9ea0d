# Cross toolchain: Windows x64 with MinGW-w64 (POSIX threads flavour, for std::mutex & co).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRASK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRASK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRASK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BRASK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRASK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the Windows test programs under Wine, in a prefix inside the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
