#!/usr/bin/env bash
# The sample device as shipped, run by launcher-sim with the demo application
# as its card's \TVL\TVL.EXE: the card's language is handed over and the
# application started and waited for (exit 0); with the card taken out, the
# insert-card message comes in the language handed over (exit 1). In a cross
# build both programs start through the emulator named in TARGET_EMULATOR
# (its words separated by spaces).
#   sample_device_run.sh LAUNCHER_SIM DEMO_APPLICATION SOURCE_FOLDER
set -euo pipefail
sim=$1
demo=$2
source=$3
read -ra emulator <<<"${TARGET_EMULATOR:-}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "sample_device_run: $*" >&2; failures=$((failures + 1)); }

# expect WHAT ACTUAL EXPECTED
expect() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }

device="$work/device"
cp -R "$source/examples/sample_device/." "$device/"
application="$device/Storage Card/TVL/TVL.EXE"
if ((${#emulator[@]})); then
  printf '#!/bin/sh\nexec%s "$@"\n' "$(printf ' %q' "${emulator[@]}" "$demo")" >"$application"
  chmod 755 "$application"
else
  install -m 755 "$demo" "$application"
fi

code=0
"${emulator[@]}" "$sim" --device "$device" --trace "$work/trace" >"$work/out" 2>"$work/err" || code=$?
expect "exit code with the card" "$code" 0
expect "device language after the hand-over" "$(cat "$device/Windows/tv_lastlang")" 2
expect "application starts" "$(grep -c '^CreateProcessW \\Storage Card\\TVL\\TVL.EXE$' "$work/trace")" 1
polls=$(grep -c '^GetThreadTimes' "$work/trace" || true)
[ "$polls" -ge 20 ] || fail "$polls polls of the application's times; two seconds of its time take at least 20"
expect "output with the card" "$(cat "$work/out" "$work/err")" "TVL demo application: started"

rm -rf "$device/Storage Card"
code=0
"${emulator[@]}" "$sim" --device "$device" >"$work/out" 2>"$work/err" || code=$?
expect "exit code without the card" "$code" 1
expect "message without the card" "$(cat "$work/out")" "Tarvolen: Bitte legen sie die Speicherkarte in das Gerät ein."

[ "$failures" -eq 0 ] && echo "sample_device_run: both runs as expected"
exit $((failures != 0))
