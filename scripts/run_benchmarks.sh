#!/usr/bin/env bash
# Builds the side-by-side benchmark (this project's XPath engine, pugixml and
# libxml2 on the same documents and expressions, in one process) and runs it
# pinned to one processor. Installs Google Benchmark and the two peers from
# Debian when they are missing (as root); the product never links them.
#   scripts/run_benchmarks.sh [Google Benchmark option...]
# Prints Google Benchmark's report, then a table: each engine's median CPU
# time per evaluation, the project's ratio to pugixml and its allocations.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

bash "$root/scripts/install_packages.sh" run_benchmarks cmake g++ make pkg-config libbenchmark-dev libpugixml-dev libxml2-dev

tinyxml=$(bash "$root/scripts/fetch_tinyxml_source.sh")

build="$root/build-benchmarks"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLAUNCHER_TESTS=OFF -DTINYXML_SOURCE_DIR="$tinyxml" >/dev/null
cmake --build "$build" --target side_by_side_benchmark -j"$(nproc)"

# One processor, the last one, so that the engines are timed alike.
cpu=$(($(nproc) - 1))
exec taskset -c "$cpu" "$build/bin/side_by_side_benchmark" "$@"
