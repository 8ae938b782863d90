#!/usr/bin/env bash
# Fetches Debian's source package of TinyXML (with Debian's own patches
# applied) once into a folder that every build of the checkout shares, and
# prints the unpacked folder. As root it installs dpkg-dev and adds apt's
# source lines when they are missing. cmake/tinyxml.cmake builds the library
# from this folder with our patches on top; it finds the default folder by
# itself but never runs this script: configuring installs nothing.
#   scripts/fetch_tinyxml_source.sh [FOLDER]     (default: build-third-party)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
folder="${1:-$root/build-third-party}"

say() { echo "fetch_tinyxml_source: $*" >&2; }

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    say "$1; run as root to set it up"
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

# dpkg-dev unpacks source packages (and brings patch, which the build uses).
prepare_apt() {
  local changed=0
  if ! dpkg-query -W -f='${Status}' dpkg-dev 2>/dev/null | grep -q "install ok installed"; then
    need_root "dpkg-dev is missing"
    changed=1
  fi
  if [ -z "$(apt-cache showsrc tinyxml 2>/dev/null)" ]; then
    need_root "apt has no source lines"
    enable_source_lines
    changed=1
  fi
  [ "$changed" -eq 1 ] || return 0
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends dpkg-dev >/dev/null
}

# The newest version of the source package that apt offers.
source_version() {
  apt-cache showsrc tinyxml | sed -n 's/^Version: //p' | sort -V | tail -n 1
}

existing=$(ls -d "$folder"/tinyxml-*/ 2>/dev/null | head -n 1 || true)
if [ -n "$existing" ] && [ -f "$existing/tinyxml.h" ] && command -v patch >/dev/null; then
  echo "${existing%/}"
  exit 0
fi

prepare_apt
version=$(source_version)
target="$folder/tinyxml-$version"
if [ ! -f "$target/tinyxml.h" ]; then
  rm -rf "$folder/fetch"
  mkdir -p "$folder/fetch"
  (cd "$folder/fetch" && apt-get source -qq "tinyxml=$version" >/dev/null 2>&1) || {
    say "apt-get source tinyxml=$version failed"
    exit 1
  }
  rm -rf "$target"
  mv "$folder/fetch/tinyxml-${version%%-*}" "$target"
  rm -rf "$folder/fetch"
fi
echo "$target"
