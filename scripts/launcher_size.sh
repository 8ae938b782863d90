#!/usr/bin/env bash
# The size check of the start-up program: launcher.exe of the Windows build,
# stripped as it goes into the device's flash memory, must stay within the
# bound. Strips a copy, prints the size, and when the bound is passed, the
# bytes per library and per object file from the link map (bin/launcher.map),
# to show where the growth lies. Exit status 1 past the bound.
#   scripts/launcher_size.sh [BUILD_FOLDER]     (default: build-windows)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/${1:-build-windows}"
bound_bytes=$((384 * 1024))

program="$build/bin/launcher.exe"
if [ ! -f "$program" ]; then
  echo "launcher_size: $program not found; build first" >&2
  exit 1
fi
stripped=$(mktemp)
trap 'rm -f "$stripped"' EXIT
i686-w64-mingw32-strip -o "$stripped" "$program" || exit 1
size_bytes=$(stat -c %s "$stripped")
echo "launcher.exe: $size_bytes bytes stripped ($((size_bytes / 1024)) KiB), bound $bound_bytes bytes ($((bound_bytes / 1024)) KiB)"
[ "$size_bytes" -le "$bound_bytes" ] && exit 0

# Sums the input sections that the link kept, per archive (by_member=0) or
# per archive member and object file (by_member=1); debug sections are left
# out, as strip removes them.
map_bytes() {
  awk -v by_member="$1" '
    function hex(text,   value, i) {
      value = 0
      for (i = 3; i <= length(text); i++) value = value * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
      return value
    }
    function add(section, size, file) {
      pending = ""
      if (section ~ /^\.(debug|stab|comment)/) return
      if (!by_member) sub(/\(.*\)$/, "", file)
      sub(/.*\//, "", file)
      bytes[file] += hex(size)
    }
    /^Linker script and memory map/ { on = 1; next }
    !on { next }
    /^ \.[^ ]+$/ { pending = $1; next }
    /^ \.[^ ]+ +0x[0-9a-f]+ +0x[0-9a-f]+ +[^ ]/ { add($1, $3, $4); next }
    /^ +0x[0-9a-f]+ +0x[0-9a-f]+ +[^ ]/ { if (pending != "") add(pending, $2, $3); next }
    { pending = "" }
    END { for (file in bytes) printf "%9d  %s\n", bytes[file], file }
  ' "$build/bin/launcher.map" | sort -rn | head -n 15
}

echo "launcher_size: launcher.exe is $((size_bytes - bound_bytes)) bytes past its bound" >&2
if [ -f "$build/bin/launcher.map" ]; then
  echo "bytes per library:"
  map_bytes 0
  echo "bytes per object file:"
  map_bytes 1
fi
exit 1
