#!/usr/bin/env bash
# Builds the fuzz targets in fuzz/ with Debian's clang (libFuzzer, ASan,
# UBSan, TinyXML compiled the same way) into build-fuzz and runs each for the
# given number of seconds, from the committed seeds. Any finding fails the
# run; its input lands in build-fuzz/findings/. Without clang it says so and
# does nothing.
#   scripts/run_fuzz.sh [SECONDS_PER_TARGET]     (default: 60)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
build="$root/build-fuzz"
targets=(expression_fuzzer document_fuzzer heap_fuzzer)

if ! command -v clang++ >/dev/null; then
  echo "run_fuzz: clang++ is not installed; the fuzz targets are skipped"
  exit 0
fi

tinyxml=$(bash "$root/scripts/fetch_tinyxml_source.sh") || exit 1
echo "== build-fuzz: build (clang, libFuzzer, ASan + UBSan)"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAUNCHER_FUZZ=ON \
  -DLAUNCHER_TESTS=OFF -DTINYXML_SOURCE_DIR="$tinyxml" >/dev/null || exit 1
cmake --build "$build" --target "${targets[@]}" -j"$(nproc)" >/dev/null || exit 1

# Extra options per target: the longest input each may try.
target_options() {
  case $1 in
    expression_fuzzer) echo "-dict=$root/fuzz/xpath.dict -max_len=4096" ;;
    document_fuzzer) echo "-dict=$root/fuzz/xml.dict -max_len=4096" ;;
    heap_fuzzer) echo "-max_len=2048" ;;
  esac
}

status=0
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  log="$build/$target.log"
  echo "== $target: ${seconds} s"
  # shellcheck disable=SC2046
  "$build/bin/$target" "$corpus" "$root/fuzz/seeds/${target%_fuzzer}" $(target_options "$target") \
    -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
    -close_fd_mask=1 >"$log" 2>&1
  code=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ "$code" -ne 0 ]; then
    echo "$target: FINDING (exit $code) after ${runs:-?} runs; see $log and build-fuzz/findings/"
    grep -m 5 -E "ERROR|SUMMARY|deadly signal" "$log"
    status=1
  else
    echo "$target: ${runs:-?} runs, no finding"
  fi
done
exit "$status"
