#!/usr/bin/env bash
# launcher.exe end to end under wine, on the real Windows API. Drive C: of the
# build's prefix becomes the device: a storage card "\Storage Card" with the
# demo application as \TVL\TVL.EXE and the sample settings, and the device
# language file \Windows\tv_lastlang. Run 1 has the card, run 2 does not.
# Wine's relay trace records the program's calls into the system (the
# functions in relay_functions), the way launcher-sim's trace does on the
# simulator; the checks read it. Ends with "end-to-end: N passed, N failed".
#   scripts/wine_end_to_end.sh [BUILD_FOLDER]    (default: build-windows)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/${1:-build-windows}"
source "$root/scripts/wine_prefix.sh"
use_wine_prefix "$build" || { echo "end-to-end: 0 passed, 1 failed"; exit 1; }

drive="$WINEPREFIX/drive_c"
card="$drive/Storage Card"
language_file="$drive/windows/tv_lastlang"
logs="$build/wine-logs"
mkdir -p "$logs"
relay_functions="kernel32.FindFirstFileW;msvcrt._wfopen;kernel32.Sleep;kernel32.CreateProcessW;kernel32.GetThreadTimes;user32.MessageBoxW"

passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "  ok: $what"
  else
    failed=$((failed + 1))
    echo "  FAILED: $what"
    return 1
  fi
}

# Runs launcher.exe from drive C: with the relay trace and no display, so that
# a message box returns at once. Sets run_code, run_seconds, run_output and
# run_calls: the launcher's own calls, one "Function(arguments)" a line.
run_launcher() {
  local name=$1 trace="$logs/$1.relay" started thread
  started=$(date +%s%N)
  (cd "$drive" && env -u DISPLAY TARVOLEN_STORAGE_CARDS="Storage Card" WINEDEBUG=-all,+relay \
    timeout 120 wine "$build/bin/launcher.exe") >"$logs/$name.out" 2>"$trace"
  run_code=$?
  run_seconds=$(awk -v ns=$(($(date +%s%N) - started)) 'BEGIN { printf "%.1f", ns / 1e9 }')
  run_output=$(tr -d '\r' <"$logs/$name.out")
  # The launcher's thread: the one that opens the device language file.
  thread=$(grep -m 1 -E '^[0-9a-f]+:Call msvcrt\._wfopen\([0-9a-f]+ L"\\\\Windows\\\\tv_lastlang"' "$trace" | cut -d: -f1)
  run_calls=$(grep -E "^${thread:-none}:Call " "$trace" |
    sed -E 's/^[0-9a-f]+:Call [A-Za-z0-9_]+\.([A-Za-z0-9_]+)\((.*)\) ret=[0-9a-f]+$/\1(\2)/')
    run_trace=$trace
  thread_id=${thread:-none}
}

# An extended regular expression that one of the launcher's calls matches;
# "PTR" stands for any pointer argument.
calls_match() { grep -qE -- "^${1//PTR/[0-9a-f]{8\}}" <<<"$run_calls"; }
count_calls() { grep -c -- "^$1(" <<<"$run_calls"; }

# Each query of the application's thread is followed by the 100 ms pause.
polls_are_paced() {
  local polls pauses
  polls=$(count_calls GetThreadTimes)
  pauses=$(grep -A1 '^GetThreadTimes(' <<<"$run_calls" | grep -c '^Sleep(00000064)')
  echo "  ($polls polls of the application's thread times)"
  [ "$polls" -ge 20 ] && [ "$pauses" -eq "$polls" ]
}

# The application (another thread, measuring itself) was still using
# processor time after the launcher's last query: the wait ended on the two
# seconds of processor time, not on the application's end.
application_outlived_the_wait() {
  local last
  last=$(grep -n -E "^$thread_id:Call KERNEL32\.GetThreadTimes" "$run_trace" | tail -n 1 | cut -d: -f1)
  [ -n "$last" ] && tail -n +"$last" "$run_trace" | grep -v -E "^$thread_id:" | grep -q -E '^[0-9a-f]+:Call KERNEL32\.GetThreadTimes'
}

# The pause comes right before the start, after the language file was read.
pause_precedes_start() {
  grep -A1 '^Sleep(000000c8)' <<<"$run_calls" | tail -n 1 | grep -qF 'CreateProcessW(' &&
    grep -B1 '^Sleep(000000c8)' <<<"$run_calls" | head -n 1 | grep -qE '^_wfopen\('
}

file_holds() { [ "$(cat "$1" 2>/dev/null)" = "$2" ]; }

prepare_device() {
  rm -rf "$card"
  mkdir -p "$card/TVL/Settings"
  cp "$build/bin/tvl-demo.exe" "$card/TVL/TVL.EXE"
  cp "$root/examples/sample_device/Storage Card/TVL/Settings/UserSettingsLanguage.xml" "$card/TVL/Settings/"
  cp "$root/examples/sample_device/Windows/tv_lastlang" "$language_file"
  wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ /d "$relay_functions" /f >/dev/null 2>&1
}

# Run 1: the card is there. The checks read the trace, so a run whose calls
# are not in it (the program did not start) fails once and checks no more.
with_card_checks() {
  check "launcher.exe ran and its calls were traced" [ "$thread_id" != none ] || return 0
  check "exit code 0" [ "$run_code" -eq 0 ]
  check "the card's application is probed" calls_match 'FindFirstFileW\(PTR L"\\\\Storage Card\\\\TVL\\\\TVL\.EXE",'
  check "the device language file is opened for updating" calls_match '_wfopen\(PTR L"\\\\Windows\\\\tv_lastlang",PTR L"r\+t"\)'
  check "200 ms pause between reading the language and the start" pause_precedes_start
  check "the application is started from the card" calls_match \
    'CreateProcessW\(PTR L"\\\\Storage Card\\\\TVL\\\\TVL\.EXE",PTR L"",0{8},0{8},0{8},0{8},0{8},0{8},PTR,PTR\)'
  check "the start succeeds" grep -qE "^$thread_id:Ret  KERNEL32\.CreateProcessW\(\) retval=00000001" "$run_trace"
  check "the application runs" grep -q "TVL demo application: started" <<<"$run_output"
  check "the wait polls the application's thread every 100 ms" polls_are_paced
  check "the wait ends at two seconds of processor time, before the application ends" application_outlived_the_wait
  # The hand-over copies the card's settings (language 2) to the device.
  check "the device language file after the run" file_holds "$language_file" "2"
}

# Run 2: the card is gone and the device remembers Turkish.
without_card_checks() {
  check "launcher.exe ran and its calls were traced" [ "$thread_id" != none ] || return 0
  check "exit code 1" [ "$run_code" -eq 1 ]
  check "the insert-card message in the remembered language, captioned Tarvolen" calls_match \
    'MessageBoxW\(0{8},PTR L"L\\00fctfen hafiza kartini cihazin i\\00e7ine yerlestirin\.",PTR L"Tarvolen",00040000\)$'
  check "no application is started" [ "$(count_calls CreateProcessW)" -eq 0 ]
  check "the device language file is left as it was" file_holds "$language_file" "23"
}

prepare_device

echo "== end-to-end run 1: the storage card carries \\TVL\\TVL.EXE"
run_launcher with_card
echo "  (took $run_seconds s)"
with_card_checks

echo "== end-to-end run 2: the card has been taken out; the device remembers Turkish (23)"
wineserver -w
rm -rf "$card"
printf 23 >"$language_file"
run_launcher without_card
without_card_checks

wine reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1
echo "end-to-end: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
