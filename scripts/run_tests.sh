#!/usr/bin/env bash
# Builds and runs the whole test suite: a normal build, then one under
# AddressSanitizer and UndefinedBehaviorSanitizer (any report fails the run),
# then the 32-bit Windows cross build with its tests and the start-up program
# under wine, then the 32-bit ARM cross build with its whole suite under
# qemu-arm, then each fuzz target for a short while when clang is installed
# (any finding fails the run). The Windows and ARM parts always run in CI;
# elsewhere LAUNCHER_WINDOWS=0 and LAUNCHER_ARM=0 leave them out.
# LAUNCHER_FUZZ_SECONDS sets the time per fuzz target (default 25; 0 leaves
# the fuzz targets out). Each part ends with the seconds it took.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
status=0

run_suite() {
  local folder=$1
  shift
  echo "== $folder: build"
  "$root/scripts/setup.sh" "$folder" "$@" || return 1
  echo "== $folder: tests"
  ctest --test-dir "$root/$folder" --output-on-failure -j"$(nproc)" --timeout 120
}

run_windows() {
  echo "== build-windows: build (i686-w64-mingw32)"
  bash "$root/scripts/windows_build.sh" build-windows || return 1
  echo "== build-windows: tests under wine"
  bash "$root/scripts/run_wine_tests.sh" build-windows
}

run_arm() {
  echo "== build-arm: build (arm-linux-gnueabihf) and tests under qemu-arm"
  bash "$root/scripts/run_arm_tests.sh" build-arm
}

# Runs one part and reports its time; a failed part fails the run.
timed() {
  local name=$1 started=$SECONDS
  shift
  "$@" || status=1
  echo "== $name: $((SECONDS - started)) s"
}

# Whether an optional part runs: always in CI, elsewhere unless the named variable is 0.
in_ci_or_unless() {
  [ "${CI:-}" = true ] || [ "${!1:-1}" != 0 ]
}

timed build run_suite build
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  timed build-sanitize run_suite build-sanitize -DLAUNCHER_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
if in_ci_or_unless LAUNCHER_WINDOWS; then timed build-windows run_windows; fi
if in_ci_or_unless LAUNCHER_ARM; then timed build-arm run_arm; fi

fuzz_seconds=${LAUNCHER_FUZZ_SECONDS:-25}
if [ "$fuzz_seconds" != 0 ]; then
  timed fuzz bash "$root/scripts/run_fuzz.sh" "$fuzz_seconds"
fi
echo "== whole run: $SECONDS s"

if [ "$status" -ne 0 ]; then echo "run_tests: FAILED" >&2; fi
exit "$status"
