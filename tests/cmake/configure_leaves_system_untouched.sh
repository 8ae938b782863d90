#!/usr/bin/env bash
# Configuring has no side effect: CMake, run on a copy of the checkout that
# has no TinyXML source, with the package tools replaced by stubs that record
# any call and (where unshare allows) without network and with apt's and
# dpkg's folders read-only, must stop with a message that names the set-up
# script and -DTINYXML_SOURCE_DIR, call no package tool, and leave apt's
# sources, dpkg's records and the copy itself as they were.
#   configure_leaves_system_untouched.sh CMAKE SOURCE_FOLDER
set -euo pipefail
cmake=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "configure_leaves_system_untouched: $*" >&2; exit 1; }

# The checkout without its build folders, where a fetched source would lie.
mkdir "$work/checkout"
for entry in "$source"/* "$source"/.[!.]*; do
  case $(basename "$entry") in build | build-* | .git) continue ;; esac
  cp -R "$entry" "$work/checkout/"
done

mkdir "$work/stubs"
for tool in apt apt-get apt-cache dpkg dpkg-query dpkg-source sudo curl wget; do
  printf '#!/bin/sh\necho "%s $*" >>"%s"\nexit 1\n' "$tool" "$work/calls" >"$work/stubs/$tool"
  chmod 755 "$work/stubs/$tool"
done

# What configure must not change: the system's package state and the checkout.
snapshot() {
  {
    find /etc/apt -type f -exec md5sum {} + 2>/dev/null | sort
    md5sum /var/lib/dpkg/status 2>/dev/null || true
    (cd "$work/checkout" && find . -print | sort)
  } >"$1"
}
snapshot "$work/before"

# Where it may, configure runs in namespaces of its own: no network, and
# apt's and dpkg's folders read-only, so that even a configure that tried
# could change nothing there (the stubs and the snapshots still tell).
sandboxed() {
  if unshare --net --mount true 2>/dev/null; then
    unshare --net --mount sh -c 'for folder in /etc/apt /var/lib/dpkg; do
        mount --bind "$folder" "$folder" && mount -o remount,bind,ro "$folder"
      done 2>/dev/null; exec "$@"' sandbox "$@"
  else
    "$@"
  fi
}
status=0
PATH="$work/stubs:$PATH" sandboxed "$cmake" -S "$work/checkout" -B "$work/build" -DTINYXML_SOURCE_DIR= \
  >"$work/output" 2>&1 || status=$?

[ "$status" -ne 0 ] || fail "configure went on without TinyXML's source"
for needed in scripts/setup.sh -DTINYXML_SOURCE_DIR; do
  grep -q -- "$needed" "$work/output" || { cat "$work/output" >&2; fail "the message does not name $needed"; }
done
[ ! -s "$work/calls" ] || fail "configure called package tools: $(cat "$work/calls")"
snapshot "$work/after"
diff "$work/before" "$work/after" >&2 || fail "configure changed the system or the checkout (above)"
echo "configure_leaves_system_untouched: stopped with the message and changed nothing"
