#!/usr/bin/env bash
# Installs a finished build into a temporary prefix, builds
# examples/xpath_query against the installed package alone (find_package) and
# runs it on the sample device's settings file. Any difference fails. For a
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

# A user sees the engine through its public header only.
engine_headers=$(cd "$prefix/package/include/xpath" && ls)
[ "$engine_headers" = "xpath.hpp" ] || fail "installed engine headers are '$engine_headers', expected only xpath.hpp"

cross=()
if [ -n "${TARGET_TOOLCHAIN_FILE:-}" ]; then
  # A cross tool chain searches only the target's root, so the package's folder is named directly.
  config=$(find "$prefix/package" -name TarvolenConfig.cmake | head -n 1)
  [ -n "$config" ] || fail "no TarvolenConfig.cmake installed under $prefix/package"
  cross=(-DCMAKE_TOOLCHAIN_FILE="$TARGET_TOOLCHAIN_FILE" -DTarvolen_DIR="$(dirname "$config")")
fi
cmake -S "$source/examples/xpath_query" -B "$prefix/example" -DCMAKE_PREFIX_PATH="$prefix/package" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" "${cross[@]}" >"$prefix/configure.log" 2>&1 ||
  { cat "$prefix/configure.log" >&2; fail "the example does not configure against the package"; }
cmake --build "$prefix/example" >"$prefix/build.log" 2>&1 ||
  { cat "$prefix/build.log" >&2; fail "the example does not build against the package"; }

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
