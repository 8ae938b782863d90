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
# A mirror in the middle of a sync refuses an index for a while: try again,
# then go on with the indexes that did come; the install says what is missing.
for attempt in 1 2 3; do
  apt-get update -qq && break
  if [ "$attempt" -eq 3 ]; then echo "$(basename "$0"): some package indexes did not update; going on" >&2; break; fi
  sleep 20
done
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
