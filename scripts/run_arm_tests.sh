#!/usr/bin/env bash
# Builds what is missing of the ARM cross build (scripts/arm_build.sh), then
# runs its whole CTest suite under qemu-arm: every test program, the XPath
# regression gate, the heap's 32-bit placement record, the launcher's tests
# with the demo application, the sample device and the installed example.
# CTest and the tests start the target's programs through the emulator that
# the build was configured with, so the host needs no binfmt registration.
# Fails first when the programs are not ARM programs, which would make the run
# prove nothing about the device's processor.
#   scripts/run_arm_tests.sh [BUILD_FOLDER]     (default: build-arm)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/${1:-build-arm}"

bash "$root/scripts/arm_build.sh" "${1:-build-arm}" || exit 1
machine=$(arm-linux-gnueabihf-readelf -h "$build/bin/runtime_tests" | sed -n 's/^ *Machine: *//p')
if [ "$machine" != ARM ]; then
  echo "run_arm_tests: $build/bin/runtime_tests is built for '$machine', not ARM" >&2
  exit 1
fi
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
