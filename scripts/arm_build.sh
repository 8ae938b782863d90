#!/usr/bin/env bash
# The cross build for the device's processor, 32-bit ARM (armhf): installs the
# tool chain and the emulator when they are missing (as root:
# g++-arm-linux-gnueabihf, libc6-dev-armhf-cross, qemu-user, and googletest,
# whose sources are compiled for the target into the build folder), fetches
# Debian's source of TinyXML (scripts/fetch_tinyxml_source.sh, shared with the
# other builds) and builds every target into the folder.
#   scripts/arm_build.sh [BUILD_FOLDER]     (default: build-arm)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/${1:-build-arm}"

bash "$root/scripts/install_packages.sh" arm_build cmake make dpkg-dev g++-arm-linux-gnueabihf \
  libc6-dev-armhf-cross qemu-user googletest
tinyxml=$(bash "$root/scripts/fetch_tinyxml_source.sh")
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-arm-linux-gnueabihf.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINYXML_SOURCE_DIR="$tinyxml" >/dev/null
cmake --build "$build" -j"$(nproc)"
