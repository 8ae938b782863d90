#!/usr/bin/env bash
# The 32-bit Windows cross build: installs the tool chain when it is missing
# (as root: the i386 architecture, mingw-w64, wine; the apt source lines for
# TinyXML's source package), fetches Debian's source of TinyXML, the version
# that the Linux build uses, and builds every Windows target into the folder.
#   scripts/windows_build.sh [BUILD_FOLDER]     (default: build-windows)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/${1:-build-windows}"

packages=(cmake make dpkg-dev g++-mingw-w64-i686 googletest libtinyxml-dev wine wine32:i386)

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "windows_build: $1; run as root to set it up" >&2
    exit 1
  fi
}

# Source lines beside every enabled binary line, in either apt format.
enable_source_lines() {
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && sed -i -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb deb-src/' "$file"
  done
  if [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list >>/etc/apt/sources.list
  fi
}

install_tool_chain() {
  local missing=() package changed=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root "the i386 architecture is not enabled"
    dpkg --add-architecture i386
    changed=1
  fi
  if [ -z "$(apt-cache showsrc tinyxml 2>/dev/null)" ]; then
    need_root "apt has no source lines"
    enable_source_lines
    changed=1
  fi
  for package in "${packages[@]}"; do is_installed "$package" || missing+=("$package"); done
  if ((${#missing[@]})); then
    need_root "missing Debian packages: ${missing[*]}"
    changed=1
  fi
  [ "$changed" -eq 1 ] || return 0
  apt-get update -qq
  if ((${#missing[@]})); then
    echo "windows_build: installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# Debian's source of the TinyXML that the Linux build links, unpacked (with
# Debian's patches applied) into the build folder; prints its folder.
fetch_tinyxml_source() {
  local version folder
  version=$(dpkg-query -W -f='${source:Version}' libtinyxml-dev)
  folder="$build/third_party/tinyxml-$version"
  if [ ! -f "$folder/tinyxml.h" ]; then
    rm -rf "$build/third_party/fetch"
    mkdir -p "$build/third_party/fetch"
    (cd "$build/third_party/fetch" && apt-get source -qq "tinyxml=$version" >/dev/null 2>&1) || {
      echo "windows_build: apt-get source tinyxml=$version failed" >&2
      exit 1
    }
    rm -rf "$folder"
    mv "$build/third_party/fetch/tinyxml-${version%%-*}" "$folder"
    rm -rf "$build/third_party/fetch"
  fi
  echo "$folder"
}

install_tool_chain
tinyxml=$(fetch_tinyxml_source)
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINYXML_SOURCE_DIR="$tinyxml" >/dev/null
cmake --build "$build" -j"$(nproc)"
