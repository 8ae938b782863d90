#!/usr/bin/env bash
# Installs a finished build into a temporary prefix, checks that only the
# public headers were installed, builds examples/xpath_query and the heap's
# library user (tests/install/heap_user) against the installed package alone
# (find_package), runs the heap user and the example on the sample device's
# settings file. Any difference fails. For a
# cross build, TARGET_TOOLCHAIN_FILE names its tool chain and TARGET_EMULATOR
# the emulator that runs its programs (words separated by spaces).
#   install_example.sh BUILD_FOLDER SOURCE_FOLDER [EXTRA_CXX_FLAGS]
set -euo pipefail
build=$1
source=$2
flags=${3:-}
read -ra emulator <<<"${TARGET_EMULATOR:-}"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() { echo "install_example: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix/package" >"$prefix/install.log" || fail "cmake --install failed"

# A user sees each library through its public headers only.
expect_headers() {
  local folder=$1 expected=$2 found
  found=$(cd "$prefix/package/include/$folder" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
  [ "$found" = "$expected " ] || fail "installed headers in include/$folder are '$found', expected '$expected'"
}
expect_headers xpath "xpath.hpp"
expect_headers runtime "heap_allocator.hpp private_heap.hpp"
expect_headers platform "simulator/device_simulator.hpp simulator/windows_ce_api.hpp windows_ce.hpp"

cross=()
if [ -n "${TARGET_TOOLCHAIN_FILE:-}" ]; then
  # A cross tool chain searches only the target's root, so the package's folder is named directly.
  config=$(find "$prefix/package" -name TarvolenConfig.cmake | head -n 1)
  [ -n "$config" ] || fail "no TarvolenConfig.cmake installed under $prefix/package"
  cross=(-DCMAKE_TOOLCHAIN_FILE="$TARGET_TOOLCHAIN_FILE" -DTarvolen_DIR="$(dirname "$config")")
fi
# build_against_package NAME SOURCE_FOLDER: configures and builds a user's project.
build_against_package() {
  local name=$1 folder=$2
  cmake -S "$folder" -B "$prefix/$name" -DCMAKE_PREFIX_PATH="$prefix/package" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" "${cross[@]}" >"$prefix/$name.configure.log" 2>&1 ||
    { cat "$prefix/$name.configure.log" >&2; fail "$name does not configure against the package"; }
  cmake --build "$prefix/$name" >"$prefix/$name.build.log" 2>&1 ||
    { cat "$prefix/$name.build.log" >&2; fail "$name does not build against the package"; }
}
build_against_package example "$source/examples/xpath_query"
build_against_package heap_user "$source/tests/install/heap_user"
heap_output=$("${emulator[@]}" "$prefix/heap_user/heap-user") || fail "heap-user failed: $heap_output"

settings="$source/examples/sample_device/Storage Card/TVL/Settings/UserSettingsLanguage.xml"
check() {
  local expression=$1 expected_status=$2 expected=$3 output status=0
  shift 3
  output=$("${emulator[@]}" "$prefix/example/xpath-query" "$settings" "$expression" "$@") || status=$?
  [ "$status" = "$expected_status" ] || fail "'$expression' exited $status, expected $expected_status"
  [ "$output" = "$expected" ] || fail "'$expression' printed:
$output
expected:
$expected"
}
check "/Settings/Language/text()" 0 'value: nodes
  "2"
as number: 2
as text: 2'
check "/Settings/*[1] | /Settings" 0 'value: nodes
  <Settings>
  <Language>
as number: 2
as text: 2'
check "1 +" 1 "failed: status 1, error 0 (missing operand: expected an operand, found the end of the expression)"
# A bound value is compared as it stands: quotes in it neither break the
# expression nor bend it into another one.
check "count(/Settings/Language[. = \$code])" 0 'value: int
as number: 1
as text: 1' code=2
check "count(/Settings/Language[. = \$code])" 0 'value: int
as number: 0
as text: 0' "code=x' or '1' = '1"
check "concat('[', \$code, ']')" 0 "value: string
as number: 0
as text: [it's \"quoted\"]" "code=it's \"quoted\""
echo "install_example: the installed package builds and runs the example"
