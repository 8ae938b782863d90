#!/usr/bin/env bash
# The 32-bit Windows cross build: installs the tool chain when it is missing
# (as root: the i386 architecture, mingw-w64, wine), fetches Debian's source
# of TinyXML (scripts/fetch_tinyxml_source.sh, shared with the Linux build)
# and builds every Windows target into the folder.
#   scripts/windows_build.sh [BUILD_FOLDER]     (default: build-windows)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/${1:-build-windows}"

packages=(cmake make dpkg-dev g++-mingw-w64-i686 googletest wine wine32:i386)

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "windows_build: $1; run as root to set it up" >&2
    exit 1
  fi
}

install_tool_chain() {
  local missing=() package changed=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root "the i386 architecture is not enabled"
    dpkg --add-architecture i386
    changed=1
  fi
  for package in "${packages[@]}"; do is_installed "$package" || missing+=("$package"); done
  if ((${#missing[@]})); then
    need_root "missing Debian packages: ${missing[*]}"
    changed=1
  fi
  [ "$changed" -eq 1 ] || return 0
  # A mirror in the middle of a sync refuses an index for a while: try again,
  # then go on with the indexes that did come; the install says what is missing.
  for attempt in 1 2 3; do
    apt-get update -qq && break
    if [ "$attempt" -eq 3 ]; then echo "$(basename "$0"): some package indexes did not update; going on" >&2; break; fi
    sleep 20
  done
  if ((${#missing[@]})); then
    echo "windows_build: installing ${missing[*]}"
    install_packages "${missing[@]}" || install_packages -t "$(. /etc/os-release && echo "$VERSION_CODENAME")" "${missing[@]}"
  fi
}

# When the security index for i386 lags behind amd64's, an i386 library cannot
# match the version of its installed amd64 twin; the release's own versions
# match on both, so the second try takes those.
install_packages() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

install_tool_chain
tinyxml=$(bash "$root/scripts/fetch_tinyxml_source.sh")
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINYXML_SOURCE_DIR="$tinyxml" >/dev/null
cmake --build "$build" -j"$(nproc)"
