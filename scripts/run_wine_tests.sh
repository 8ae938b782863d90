#!/usr/bin/env bash
# Runs the Windows build under wine, in the build's own prefix: every test
# program listed in <build>/windows_test_suites.txt (written by
# tests/CMakeLists.txt), each as one process, then the start-up program end
# to end (wine_end_to_end.sh), and checks the stripped size of launcher.exe
# (launcher_size.sh); then stops the prefix's wineserver. Fails on any
# failed test, on a launcher.exe past its size bound and on a program that
# ran no test, which is what a wine that cannot start 32-bit programs produces.
#   scripts/run_wine_tests.sh [BUILD_FOLDER]     (default: build-windows)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/${1:-build-windows}"
source "$root/scripts/wine_prefix.sh"

total_passed=0
total_failed=0
status=0

# The count of GoogleTest's closing line for a result, such as
# "[  PASSED  ] 12 tests." or "[  FAILED  ] 1 test, listed below:"; the
# per-test lines that start the same way carry a test's name instead.
summary_count() {
  local marker=$1 log=$2
  grep -E "^\[  $marker *\] [0-9]+ tests?[.,]" "$log" | head -n 1 | sed -E 's/^[^]]*\] ([0-9]+).*/\1/'
}

# One test program; its output lands in <build>/wine-logs/<name>.log.
run_suite() {
  local program=$1 name log code ran passed failed skipped
  name=$(basename "$program" .exe)
  log="$build/wine-logs/$name.log"
  (cd "$WINEPREFIX/drive_c/test-run" && timeout 600 wine "$program") >"$log" 2>&1
  code=$?
  tr -d '\r' <"$log" >"$log.tmp" && mv "$log.tmp" "$log"
  ran=$(grep -E '^\[==========\] [0-9]+ tests? from .* ran\.' "$log" | sed -E 's/^[^0-9]*([0-9]+).*/\1/')
  passed=$(summary_count PASSED "$log")
  failed=$(summary_count FAILED "$log")
  skipped=$(summary_count SKIPPED "$log")
  ran=${ran:-0} passed=${passed:-0} failed=${failed:-0} skipped=${skipped:-0}
  if [ "$code" -ne 0 ] || [ "$ran" -eq 0 ] || [ "$failed" -ne 0 ] || [ $((passed + failed + skipped)) -ne "$ran" ]; then
    echo "---- $name (exit code $code, $ran tests ran):"
    tail -n 60 "$log"
    [ "$failed" -eq 0 ] && failed=1
    status=1
  fi
  echo "$name: $passed passed, $failed failed$([ "$skipped" -gt 0 ] && echo ", $skipped skipped")"
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
}

if [ ! -s "$build/windows_test_suites.txt" ]; then
  echo "run_wine_tests: no test programs listed in $build/windows_test_suites.txt; build first" >&2
  exit 1
fi
use_wine_prefix "$build" || exit 1
mkdir -p "$build/wine-logs" "$WINEPREFIX/drive_c/test-run"

while IFS= read -r program; do
  [ -n "$program" ] && run_suite "$program"
done <"$build/windows_test_suites.txt"

bash "$root/scripts/wine_end_to_end.sh" "${1:-build-windows}" | tee "$build/wine-logs/end_to_end.log"
end_to_end=$(tail -n 1 "$build/wine-logs/end_to_end.log")
e2e_passed=$(sed -nE 's/^end-to-end: ([0-9]+) passed, ([0-9]+) failed$/\1/p' <<<"$end_to_end")
e2e_failed=$(sed -nE 's/^end-to-end: ([0-9]+) passed, ([0-9]+) failed$/\2/p' <<<"$end_to_end")
if [ -z "$e2e_passed" ] || [ "$e2e_failed" -ne 0 ] || [ "$e2e_passed" -eq 0 ]; then
  status=1
  total_failed=$((total_failed + ${e2e_failed:-1}))
else
  total_passed=$((total_passed + e2e_passed))
fi

if bash "$root/scripts/launcher_size.sh" "${1:-build-windows}"; then
  total_passed=$((total_passed + 1))
else
  status=1
  total_failed=$((total_failed + 1))
fi

stop_wine_prefix
echo "wine: $total_passed passed, $total_failed failed"
exit "$status"
