#!/usr/bin/env bash
# Builds and runs the whole test suite: a normal build, then one under
# AddressSanitizer and UndefinedBehaviorSanitizer (any report fails the run),
# then the 32-bit Windows cross build with its tests and the start-up program
# under wine, then each fuzz target for a short while when clang is installed
# (any finding fails the run). The Windows part always runs in CI; elsewhere
# LAUNCHER_WINDOWS=0 leaves it out. LAUNCHER_FUZZ_SECONDS sets the time per
# fuzz target (default 25; 0 leaves the fuzz targets out).
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

run_suite build || status=1
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-sanitize -DLAUNCHER_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug || status=1
if [ "${CI:-}" = true ] || [ "${LAUNCHER_WINDOWS:-1}" != 0 ]; then
  run_windows || status=1
fi

fuzz_seconds=${LAUNCHER_FUZZ_SECONDS:-25}
if [ "$fuzz_seconds" != 0 ]; then
  bash "$root/scripts/run_fuzz.sh" "$fuzz_seconds" || status=1
fi

if [ "$status" -ne 0 ]; then echo "run_tests: FAILED" >&2; fi
exit "$status"
