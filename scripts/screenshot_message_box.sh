#!/usr/bin/env bash
# Shows the insert-card message box of the Windows build under wine on a
# virtual X display and saves it as docs/insert_card_message.png, for the
# README: the run without a card, on a device that remembers German (the
# message has a Latin-1 letter). Builds the Windows targets first when needed.
# Installs (as root) Xvfb and ImageMagick when they are missing.
#   scripts/screenshot_message_box.sh [BUILD_FOLDER]   (default: build-windows)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_name=${1:-build-windows}
build="$root/$build_name"
picture="$root/docs/insert_card_message.png"
display_number=57

bash "$root/scripts/install_packages.sh" screenshot xvfb imagemagick
[ -x "$build/bin/launcher.exe" ] || bash "$root/scripts/windows_build.sh" "$build_name" >/dev/null

source "$root/scripts/wine_prefix.sh"
use_wine_prefix "$build"
drive="$WINEPREFIX/drive_c"
printf 2 >"$drive/windows/tv_lastlang"
rm -rf "$drive/Storage Card"

Xvfb ":$display_number" -screen 0 640x360x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
launcher=""
finish() {
  [ -n "$launcher" ] && kill "$launcher" 2>/dev/null
  stop_wine_prefix
  kill "$xvfb" 2>/dev/null || true
}
trap finish EXIT
export DISPLAY=":$display_number"

# A wine virtual desktop as large as the screen: wine draws the box's frame
# and caption itself, with no window manager needed.
(cd "$drive" && exec wine explorer /desktop=device,640x360 "$build/bin/launcher.exe") >/dev/null 2>&1 &
launcher=$!

# Wait until the box is drawn: the screen is no longer one colour.
shot=$(mktemp --suffix=.png)
for _ in $(seq 1 60); do
  sleep 1
  import -window root "$shot" 2>/dev/null || continue
  [ "$(convert "$shot" -format '%k' info:)" -gt 8 ] && break
done
sleep 1
import -window root "$shot"
# Keep the box with a margin of the desktop around it.
mkdir -p "$root/docs"
convert "$shot" -bordercolor "$(convert "$shot" -format '%[pixel:p{0,0}]' info:)" -trim +repage -border 16 "$picture"
rm -f "$shot"
echo "screenshot: $picture ($(identify -format '%wx%h' "$picture"))"
