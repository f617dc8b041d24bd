# A Wine prefix of our own and an Xvfb display for running the Windows builds.
# shellcheck shell=bash
export WINEPREFIX=${WINEPREFIX:-$ZEL_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

ZEL_XVFB_PID=

# Starts Xvfb on a free display unless one is already set and reachable.
zel_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    ZEL_XVFB_PID=$!
    export DISPLAY=":$n"
    local tries
    for tries in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$ZEL_XVFB_PID" 2>/dev/null
  done
  zel_log "could not start Xvfb"
  return 1
}

zel_stop_display() {
  [ -n "$ZEL_XVFB_PID" ] && kill "$ZEL_XVFB_PID" 2>/dev/null
  ZEL_XVFB_PID=
}

# Creates the prefix once: a virtual desktop shared by every program (so test
# drivers see the program's windows and keep their standard output), Arial
# mapped to Liberation Sans, and DirectDraw surfaces kept in memory: Wine's
# default OpenGL renderer on a display without a graphics card copies the
# graph's surface back from software OpenGL at every GetDC and present (15 ms each).
zel_init_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.zel-ready" ]; then
    zel_log "creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.zel-ready"
  fi
  zel_add_wine_fonts
}

# Wine's own fonts (Marlett for the title-bar buttons, Tahoma and MS Sans Serif
# for dialogs): Debian's fonts-wine puts them where this Wine does not look, so
# the prefix gets copies.
zel_add_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$fonts/marlett.ttf" ] && return 0
  mkdir -p "$fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$fonts/"
}

zel_stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
