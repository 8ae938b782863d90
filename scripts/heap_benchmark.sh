#!/usr/bin/env bash
# Builds and runs the private heap's benchmark pinned to one CPU: the heap
# beside glibc malloc, then beside tcmalloc and mimalloc preloaded for the
# system side when Debian's libgoogle-perftools-dev and libmimalloc-dev are
# installed. Each run ends with its table of ratios.
#   scripts/heap_benchmark.sh [BENCHMARK_OPTION...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-benchmark"

bash "$root/scripts/install_packages.sh" heap_benchmark cmake g++ make libbenchmark-dev
tinyxml=$(bash "$root/scripts/fetch_tinyxml_source.sh")
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLAUNCHER_TESTS=OFF -DTINYXML_SOURCE_DIR="$tinyxml" >/dev/null
cmake --build "$build" --target heap_benchmark -j"$(nproc)" >/dev/null

options=(--benchmark_repetitions=7 --benchmark_report_aggregates_only=true "$@")
pin=(taskset -c 0)
command -v taskset >/dev/null || pin=()
"${pin[@]}" "$build/bin/heap_benchmark" "${options[@]}"

libraries=/usr/lib/$(gcc -print-multiarch)
for preload in libtcmalloc_minimal.so libmimalloc.so; do
  if [ -e "$libraries/$preload" ]; then
    echo
    echo "== system side: $preload"
    LD_PRELOAD="$libraries/$preload" "${pin[@]}" "$build/bin/heap_benchmark" "${options[@]}"
  fi
done
