# Cross toolchain: Linux on 64-bit ARM with Debian's aarch64-linux-gnu compilers and the arm64
# multiarch libraries (scripts/setup installs both).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(BRASK_CROSS_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${BRASK_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${BRASK_CROSS_TRIPLE}-g++)
# Multiarch: libraries in /usr/lib/aarch64-linux-gnu, headers shared in /usr/include.
set(CMAKE_LIBRARY_ARCHITECTURE ${BRASK_CROSS_TRIPLE})

# Libraries and packages are the arm64 multiarch ones only (not the cross toolchain's runtime
# copies, which scripts/arm64-run does not load either); programs (pkg-config) the machine's.
set(CMAKE_FIND_ROOT_PATH /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)

# Debian ships no aarch64-linux-gnu-pkg-config: the machine's own reads the arm64 .pc files.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${BRASK_CROSS_TRIPLE}/pkgconfig:/usr/share/pkgconfig)

# There is no binfmt_misc registration to run arm64 programs: ctest, the build's own tools and
# the tests' child processes go through user-mode emulation.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/arm64-run)
