#!/usr/bin/env bash
# Builds the program and runs it on a fresh copy of the sample device: once
# with the card that carries the application, once after the card is taken
# out. Only the two programs it runs are built (launcher-sim and the demo
# application), not the tests or benchmarks. The repository's files are
# never modified.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" --target launcher-sim --target tvl-demo build >/dev/null

device=$(mktemp -d)
trap 'rm -rf "$device"' EXIT
cp -R "$root/examples/sample_device/." "$device/"
install -m 755 "$root/build/bin/tvl-demo" "$device/Storage Card/TVL/TVL.EXE"
sim="$root/build/bin/launcher-sim"

show_run() {
  local trace="$device.trace" code=0
  "$sim" --device "$device" --trace "$trace" || code=$?
  echo "-- platform calls (the wait loop's polls summarised):"
  grep -v -E '^(GetThreadTimes|FileTimeToSystemTime|Sleep 100)' "$trace" | sed 's/^/   /'
  local polls
  polls=$(grep -c '^GetThreadTimes' "$trace" || true)
  if [ "$polls" -gt 0 ]; then
    echo "   ... $polls polls of the application's thread times, 100 ms apart; the last:"
    grep '^GetThreadTimes' "$trace" | tail -n 1 | sed 's/^/   /'
  fi
  rm -f "$trace"
  echo "-- exit code: $code"
  echo "-- device language file \\Windows\\tv_lastlang: '$(cat "$device/Windows/tv_lastlang" 2>/dev/null)'"
}

echo "== Run 1: the storage card carries \\TVL\\TVL.EXE"
show_run
echo
echo "== Run 2: the card has been taken out"
rm -rf "$device/Storage Card"
show_run
