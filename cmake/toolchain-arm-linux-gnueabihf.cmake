# Cross build for the device's processor, 32-bit ARM with hardware floating
# point, with Debian's g++-arm-linux-gnueabihf. The platform layer is the
# device simulator, as on every Linux host, so this build runs the simulator
# and the heap with 32-bit pointers on ARM code. Its programs run on the build
# machine under qemu-arm: CTest starts them through CMAKE_CROSSCOMPILING_EMULATOR,
# and the tests that start programs of their own read it from the build too
# (tests/CMakeLists.txt), so no binfmt registration is needed.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)

set(arm_prefix arm-linux-gnueabihf)
set(CMAKE_C_COMPILER ${arm_prefix}-gcc)
set(CMAKE_CXX_COMPILER ${arm_prefix}-g++)
set(CMAKE_AR ${arm_prefix}-gcc-ar CACHE FILEPATH "archiver")
set(CMAKE_RANLIB ${arm_prefix}-gcc-ranlib CACHE FILEPATH "archive indexer")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm -L /usr/${arm_prefix} CACHE STRING "runs the target's programs on the build machine")

# Only the target's own libraries: the host's packages (GoogleTest, Google
# Benchmark, libxml2) must not be taken for the target's.
set(CMAKE_FIND_ROOT_PATH /usr/${arm_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${arm_prefix}/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# GCC notes, on every std::map and std::vector insertion, that ARM's parameter
# passing for such types changed in GCC 7.1: no concern for a program built
# whole with one compiler, and noise that would hide real warnings.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")
