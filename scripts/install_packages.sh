#!/usr/bin/env bash
# Installs the named Debian packages that are missing (as root); the scripts'
# one place for it. Fails, naming the packages, when not run as root.
#   scripts/install_packages.sh WHO PACKAGE...     (WHO: the calling script, for messages)
set -euo pipefail
who=$1
shift
missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
((${#missing[@]})) || exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "$who: missing Debian packages: ${missing[*]}; run as root to install them" >&2
  exit 1
fi
echo "$who: installing ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
