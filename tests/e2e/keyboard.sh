#!/usr/bin/env bash
# The tool dialogs from the keyboard: after each job a control holds the focus
# (the button that started it), so Tab, Space and Escape go on working; the
# memory strip of Download Data is a tab stop that selects its sets with Left,
# Right, Home and End as a click does, and shows a focus rectangle.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly DOWNLOAD="Download Data" SETTINGS="Program Chip" CONTROL="Control Options" SIM="Simulated altimeter"
readonly STATUS=1003 SAVE_SELECTED=1002 READ=1006 SAVE_COMMENT=1008 CLEAR=1011 STRIP=1031 COMMENT=1046
readonly SETTINGS_READ=1006 BATTERY=1041
readonly SIM_BATTERY=1132 SIM_APPLY=1133 SIM_MEMORY=1110 MEMORY_THREE=2
readonly TAB=9 SPACE=32 ESCAPE=27 LEFT=37 RIGHT=39 HOME=36 END=35
readonly SELECTED='#FF0000'
readonly SHOTS=/work/shots-kbd

sim() { zel_drive "$1" "$SIM" "${@:2}" >/dev/null; }
focus_of() { zel_drive focus "$1"; }
# The focus left `2` for a control (not for nowhere).
focus_moved() {
  local now
  now=$(focus_of "$1")
  [ "$now" != "$2" ] && [ "$now" != 0 ]
}
# tab_to CAPTION ID: Tab, each press waited for, until that control holds the focus.
tab_to() {
  local presses focus
  for presses in $(seq 25); do
    focus=$(focus_of "$1")
    [ "$focus" = "$2" ] && return 0
    zel_drive type "$1" $TAB || return 1
    within 5 focus_moved "$1" "$focus" || return 1
  done
  return 1
}
# press_key CAPTION ID: the control gets the focus by Tab and is pressed with Space.
press_key() { tab_to "$1" "$2" && zel_drive type "$1" $SPACE; }
tab_moves_on() { zel_drive type "$1" $TAB && within 5 focus_moved "$1" "$2"; }
# Escape closes the dialog however its focus came there.
escape_closes() { zel_drive type "$1" $ESCAPE && zel_drive wait-closed "$1"; }

# The 1-based place of the red set among the strip's runs.
selected_place() { colours_of "$(strip_runs_of "$DOWNLOAD" $STRIP)" | tr ' ' '\n' | grep -nx "$SELECTED" | cut -d: -f1; }
selected_is() { [ "$(selected_place)" = "$1" ]; }
# select_by KEY PLACE: the key selects the set at that place of the strip.
select_by() { zel_drive type "$DOWNLOAD" "$1" && eventually selected_is "$2"; }
comment_is() { [ "$(zel_drive text "$DOWNLOAD" $COMMENT)" = "$1" ]; }
# strip_shot NAME: the strip cut from a screenshot; prints its path.
strip_shot() {
  local x y w h
  read -r x y w h < <(zel_drive screen-rect "$DOWNLOAD" $STRIP)
  zel_screenshot "$E2E_OUT/$1-screen.png"
  convert "$E2E_OUT/$1-screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_OUT/$1.png"
  echo "$E2E_OUT/$1.png"
}

# More colours than the strip showed unfocused: the rectangle's dots.
shows_focus_rectangle() { more_than "$(colour_count "$(strip_shot strip-focused)")" "$(colour_count "$unfocused")"; }

mkdir -p "$SHOTS"
check "the demonstration program starts" e2e_start_program "$ZEL_BUILD/mingw/app/zelusb-demo.exe"
check "with its simulated altimeter window" zel_drive wait-line "$SIM" 1104 "Plugged in: application mode, firmware 1.41"
sim choose $SIM_MEMORY $MEMORY_THREE

# ---- Download Data: Read Data and Clear Device from the keyboard ----
zel_drive menu 40006
check "Download Data opens" zel_drive wait-line "$DOWNLOAD" $STATUS "Device Connected."
check "Tab reaches Read Data and Space presses it" press_key "$DOWNLOAD" $READ
check "... the download runs" zel_drive wait-line "$DOWNLOAD" $STATUS "Data read successfully."
check "after Read Data the focus is back on Read Data" zel_drive wait-focus "$DOWNLOAD" $READ
check "... and Tab moves it on" tab_moves_on "$DOWNLOAD" $READ

# ---- The strip from the keyboard ----
unfocused=$(strip_shot strip-unfocused)
check "the strip is a tab stop" tab_to "$DOWNLOAD" $STRIP
check "the focused strip shows a focus rectangle" eventually shows_focus_rectangle
dialog_shot "$DOWNLOAD" download-strip-focused >/dev/null
cp "$E2E_OUT/strip-focused.png" "$SHOTS/strip-focused.png"
cp "$E2E_OUT/download-strip-focused.png" "$SHOTS/download-strip-focused.png"
mark_log
check "Home selects the first set" select_by $HOME 1
check "... enables Save Selected as a click does" eventually all_enabled "$DOWNLOAD" $SAVE_SELECTED $SAVE_COMMENT $COMMENT
check "... and logs the set's first packet as a click there does" eventually logged_since_mark "Selected Set: 0"
check "... and the comments stored, as a click does" logged_since_mark "Size: 3"
zel_drive set-text "$DOWNLOAD" $COMMENT "first flight" && zel_drive press "$DOWNLOAD" $SAVE_COMMENT
check "Right selects the second set" select_by $RIGHT 2
check "... whose comment box is empty" eventually comment_is ""
check "End selects the last set" select_by $END 3
zel_drive set-text "$DOWNLOAD" $COMMENT "third flight" && zel_drive press "$DOWNLOAD" $SAVE_COMMENT
check "Right at the last set stays there" select_by $RIGHT 3
check "Left selects the second set" select_by $LEFT 2
check "Home goes back to the first set and its comment" select_by $HOME 1
check "... 'first flight'" eventually comment_is "first flight"
check "Left at the first set stays there" select_by $LEFT 1
check "End shows the last set's comment" select_by $END 3
check "... 'third flight'" eventually comment_is "third flight"
check "Escape from the strip closes the dialog" escape_closes "$DOWNLOAD"
check "... which hands the set chosen by key to the main window" wait_for_log "Selected Set: 2"

zel_drive menu 40006
zel_drive wait-line "$DOWNLOAD" $STATUS "Device Connected." >/dev/null
check "Tab reaches Clear Device and Space presses it" press_key "$DOWNLOAD" $CLEAR
answer=$(zel_drive message-box yes)
check "... it asks first" [ "$answer" = $'ZEL USB 1.41\nAre you sure?' ]
check "... the memory is cleared" zel_drive wait-line "$DOWNLOAD" $STATUS "Data cleared successfully."
check "after Clear Device the focus is on Clear Device" zel_drive wait-focus "$DOWNLOAD" $CLEAR
check "Escape closes Download Data" escape_closes "$DOWNLOAD"

# ---- Device Settings: Read Settings ----
zel_drive menu 40007
check "Device Settings opens" zel_drive wait-line "$SETTINGS" $STATUS "Device Connected."
check "Tab reaches Read Settings and Space presses it" press_key "$SETTINGS" $SETTINGS_READ
check "... the settings are read" zel_drive wait-line "$SETTINGS" $STATUS "Settings read successfully."
check "after Read Settings the focus is back on Read Settings" zel_drive wait-focus "$SETTINGS" $SETTINGS_READ
check "Escape closes Device Settings" escape_closes "$SETTINGS"

# ---- Control Options: Read Battery ----
sim set-text $SIM_BATTERY 9.4
sim press $SIM_APPLY
zel_drive menu 40014
check "Control Options opens" eventually all_enabled "$CONTROL" $BATTERY
check "Tab reaches Read Battery Voltage and Space presses it" press_key "$CONTROL" $BATTERY
check "... the battery is read" zel_drive wait-line "$CONTROL" $STATUS "Current Voltage: 9.4 Volts"
check "after Read Battery the focus is back on Read Battery" zel_drive wait-focus "$CONTROL" $BATTERY
check "Escape closes Control Options" escape_closes "$CONTROL"

e2e_finish
