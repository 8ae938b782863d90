# Sourced by the scripts that run the Windows build under wine: the build's
# own wine prefix (32-bit, quiet, without the .NET and HTML engines, which
# nothing here uses), created on first use, and its stop. A path that starts
# with "\" resolves against the current drive, so programs run from inside
# the prefix's drive C:.
#   use_wine_prefix BUILD_FOLDER   exports WINEPREFIX and the rest
#   stop_wine_prefix               ends that prefix's wineserver and its programs

use_wine_prefix() {
  export WINEPREFIX="$1/wine-prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # The marker is written once the prefix is complete: the registry files
  # appear only when the wineserver saves them, so they cannot tell.
  if [ ! -f "$WINEPREFIX/prefix-ready" ]; then
    local started=$SECONDS
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    if [ ! -d "$WINEPREFIX/drive_c/windows" ]; then
      echo "wine: could not create the 32-bit prefix $WINEPREFIX" >&2
      return 1
    fi
    touch "$WINEPREFIX/prefix-ready"
    echo "wine: prefix created in $((SECONDS - started)) s, $(du -sm "$WINEPREFIX" | cut -f1) MB"
  fi
}

stop_wine_prefix() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
