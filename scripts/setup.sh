#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need when they are
# missing (as root), fetches TinyXML's Debian source
# (scripts/fetch_tinyxml_source.sh), then configures and builds into the
# given folder of the checkout: every target, or with --target only the named
# ones and what they are made from.
#   scripts/setup.sh [--target NAME]... [BUILD_FOLDER [CMAKE_OPTION...]]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

targets=()
while [ "${1:-}" = --target ]; do
  if [ $# -lt 2 ]; then
    echo "setup: --target needs a target name" >&2
    exit 2
  fi
  targets+=(--target "$2")
  shift 2
done

# libxml2 and pugixml only for the conformance test (tests/xpath/conformance/),
# as black-box peers; the product never links them.
bash "$root/scripts/install_packages.sh" setup cmake g++ make pkg-config libgtest-dev libxml2-dev libpugixml-dev

tinyxml=$(bash "$root/scripts/fetch_tinyxml_source.sh")

build="$root/${1:-build}"
shift || true
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINYXML_SOURCE_DIR="$tinyxml" "$@" >/dev/null
cmake --build "$build" "${targets[@]}" -j"$(nproc)"
