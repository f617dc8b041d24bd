#!/usr/bin/env bash
# File > Flight Report...: offered only while a set is displayed (the File
# menu, opened from the keyboard, shows the item grey without one); its rows
# are those zeltool.exe stats prints for the set, Copy puts them on the
# clipboard as tab-separated lines, Save... writes the page zeltool.exe report
# draws (PNG, EMF) whole or not at all, Print... says when there is no
# printer; the page names the set by its file, or as a download once Download
# Data read the altimeter; the page and the rows share the dialog beside or
# below each other as its shape asks; and every button is reached from the
# keyboard alone.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly MAIN="ZEL USB 1.41" DIALOG="Flight Report" SAVE_DIALOG="Save flight report"
readonly DOWNLOAD="Download Data" SIM="Simulated altimeter"
readonly FLIGHT_REPORT=40017 DOWNLOAD_DATA=40006
readonly STATUS=1003 READ_DATA=1006 SIM_MEMORY=1110 MEMORY_THREE=2
readonly ROWS=1050 PAGE=1051 COPY=1052 SAVE=1053 PRINT=1054 CLOSE=1004
readonly TAB=9 ESCAPE=27 ALT=18 DOWN=40
readonly ALTITUDE='#0072B2' VELOCITY='#D55E00' GREY_TEXT='#808080'
readonly SAVE_FAILED=$'ZEL USB 1.41\nThe report could not be saved. Make sure that the folder is not write protected and that the disk has enough space. Nothing was written.'
readonly NO_PRINTER=$'ZEL USB 1.41\nNo printer is installed. Install a printer to print the report.'
readonly ZELTOOL_EXE=$ZEL_BUILD/mingw/tools/zeltool.exe

make_samples
sample=$E2E_OUT/samples/sample-flight.zel
saved=$E2E_OUT/saved
mkdir -p "$saved"

# ---- The File menu, opened from the keyboard: its popup's grey text ----
menu_popup() { zel_drive windows | awk '$1 == "#32768" { print $3, $4, $5, $6; exit }'; }
popup_shown() { [ -n "$(menu_popup)" ]; }
popup_gone() { ! popup_shown; }
# The pixels of grey (disabled) text in the open File menu; the menu is closed again.
file_menu_grey() {
  local left top right bottom
  zel_drive type "$MAIN" $ALT 70 $DOWN >/dev/null && within 5 popup_shown || return 1
  read -r left top right bottom < <(menu_popup)
  zel_screenshot "$E2E_OUT/menu.png"
  convert "$E2E_OUT/menu.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$E2E_OUT/menu-popup.png"
  zel_drive type "$MAIN" $ESCAPE $ESCAPE >/dev/null && within 5 popup_gone || return 1
  pixel_count "$E2E_OUT/menu-popup.png" "$GREY_TEXT"
}

check "the program starts" e2e_start_program
check "with no set displayed, Flight Report... is grey in the File menu" more_than "$(file_menu_grey)" 0
zel_drive menu $FLIGHT_REPORT
check "... and its command opens nothing" zel_drive no-dialog 1500
check "a sample flight opens" zel_open_file "$sample"
wait_for_log "Loaded data set."
check "with a set displayed, nothing in the File menu is grey" [ "$(file_menu_grey)" = 0 ]

# ---- The rows: zeltool.exe stats of the same set ----
# The rows as zeltool stats lays them out: label, value and detail in columns.
as_stats_text() { awk -F'\t' '{ if ($3 == "") printf "  %-15s%s\n", $1, $2; else printf "  %-15s%-13s %s\n", $1, $2, $3 }'; }
zel_drive menu $FLIGHT_REPORT
zel_drive rows "$DIALOG" $ROWS >"$E2E_OUT/rows.txt"
wine "$ZELTOOL_EXE" stats "$(windows_path "$sample")" 2>/dev/null | tr -d '\r' | tail -n +2 >"$E2E_OUT/stats.txt"
check "the rows are those zeltool.exe stats prints for the set" \
  diff <(as_stats_text <"$E2E_OUT/rows.txt") "$E2E_OUT/stats.txt"
check "... the comment first" [ "$(head -n 1 "$E2E_OUT/rows.txt")" = $'comment\tClub launch, field A\t' ]

# ---- Copy: the rows on the clipboard, tab-separated, CR LF ----
sed 's/$/\r/' "$E2E_OUT/rows.txt" >"$E2E_OUT/rows-crlf.txt"
clipboard_holds_rows() {
  zel_drive clipboard "$(windows_path "$E2E_OUT/clipboard.txt")" && cmp -s "$E2E_OUT/clipboard.txt" "$E2E_OUT/rows-crlf.txt"
}
zel_drive empty-clipboard
zel_drive press "$DIALOG" $COPY
check "Copy puts the rows on the clipboard as tab-separated lines ending in CR LF" within 5 clipboard_holds_rows

# ---- Save...: the page zeltool.exe report draws ----
# curves_alike A B HEX: the pixels of that colour lie in the same places in both pictures.
curve_mask() { convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" "$3"; }
curves_alike() {
  curve_mask "$1" "$3" "$E2E_OUT/mask-a.png" && curve_mask "$2" "$3" "$E2E_OUT/mask-b.png" &&
    [ "$(pixel_count "$E2E_OUT/mask-a.png" '#FFFFFF')" -gt 1000 ] && same_picture "$E2E_OUT/mask-a.png" "$E2E_OUT/mask-b.png"
}
save_as() { zel_drive press "$DIALOG" $SAVE && zel_drive file-dialog "$SAVE_DIALOG" "$(windows_path "$1")"; }
wine "$ZELTOOL_EXE" report "$(windows_path "$sample")" "$(windows_path "$E2E_OUT/zeltool-report.png")" >/dev/null 2>&1
save_as "$saved/report"
check "Save... writes a PNG, its extension added" wait_for_file "$saved/report.png"
check "... of zeltool.exe report's size" \
  [ "$(identify -format %wx%h "$saved/report.png")" = "$(identify -format %wx%h "$E2E_OUT/zeltool-report.png")" ]
check "... its altitude curve where zeltool.exe report draws it" \
  curves_alike "$saved/report.png" "$E2E_OUT/zeltool-report.png" "$ALTITUDE"
check "... and its velocity curve too" curves_alike "$saved/report.png" "$E2E_OUT/zeltool-report.png" "$VELOCITY"
save_as "$saved/report.emf"
check "Save... as .emf writes an enhanced metafile" wait_for_file "$saved/report.emf"
check "... with its signature" [ "$(od -An -c -j 40 -N 4 "$saved/report.emf" | tr -d ' ')" = "EMF" ]
# page_says EMF LINE: one of the page's texts is that whole line.
page_says() { strings -el "$1" | grep -xF -- "$2" >/dev/null; }
check "... whose page names the set by its file" page_says "$saved/report.emf" "sample-flight.zel, set 0"
check "... and gives its comment" page_says "$saved/report.emf" "Club launch, field A"
save_as "$saved/missing/report.png"
check "a save into a folder that does not exist says so" [ "$(zel_drive message-box ok)" = "$SAVE_FAILED" ]
check "... and leaves no file behind" [ "$(cd "$saved" && echo *)" = "report.emf report.png" ]

# ---- Print... ----
zel_drive press "$DIALOG" $PRINT
check "Print... with no printer says so" [ "$(zel_drive message-box ok)" = "$NO_PRINTER" ]

# ---- The page and the rows share the dialog by its shape ----
read -r x y width height < <(zel_drive screen-rect "$DIALOG" 0)
rect() { zel_drive rect "$DIALOG" "$1"; }
rows_beside_page() {
  local px py pw ph rx ry rw rh
  read -r px py pw ph < <(rect $PAGE) && read -r rx ry rw rh < <(rect $ROWS) && [ "$rx" -gt $((px + pw)) ]
}
rows_below_page() {
  local px py pw ph rx ry rw rh
  read -r px py pw ph < <(rect $PAGE) && read -r rx ry rw rh < <(rect $ROWS) && [ "$ry" -gt $((py + ph)) ]
}
check "the dialog cannot be made smaller than it opened" [ "$(zel_drive size "$DIALOG" 0 0)" = "$width $height" ]
check "at its first size the rows lie beside the page" rows_beside_page
zel_drive size "$DIALOG" "$width" $((height * 2)) >/dev/null
check "made tall and narrow, the rows go below the page" eventually rows_below_page
zel_drive size "$DIALOG" "$width" "$height" >/dev/null
check "... and back beside it at the first size" eventually rows_beside_page
dialog_shot "$DIALOG" dialog >/dev/null
zel_drive close-window "$DIALOG" && zel_drive wait-closed "$DIALOG"

# ---- The keyboard alone ----
focus_is() { [ "$(zel_drive focus "$DIALOG")" = "$1" ]; }
tab_reaches() { zel_drive type "$DIALOG" $TAB >/dev/null && eventually focus_is "$1"; }
zel_drive menu $FLIGHT_REPORT
check "the dialog opens with the focus on the rows" zel_drive wait-focus "$DIALOG" $ROWS
check "Tab goes to Copy" tab_reaches $COPY
check "... to Save..." tab_reaches $SAVE
dialog_shot "$DIALOG" dialog-keyboard >/dev/null
check "... to Print..." tab_reaches $PRINT
check "... to Close" tab_reaches $CLOSE
check "... and round to the rows" tab_reaches $ROWS
zel_drive empty-clipboard
zel_drive type "$DIALOG" $ALT+67
check "Alt+C copies the rows" within 5 clipboard_holds_rows
zel_drive type "$DIALOG" $ALT+83
check "Alt+S opens the save dialog" zel_drive cancel-dialog "$SAVE_DIALOG"
zel_drive type "$DIALOG" $ALT+80
check "Alt+P prints" [ "$(zel_drive message-box ok)" = "$NO_PRINTER" ]
check "Escape closes the dialog" zel_drive type "$DIALOG" $ESCAPE
check "... at once" zel_drive wait-closed "$DIALOG"

zel_exit_program

# ---- A set downloaded over the file's is named as a download ----
check "the demonstration program starts" e2e_start_program "$ZEL_BUILD/mingw/app/zelusb-demo.exe"
zel_drive wait-line "$SIM" 1104 "Plugged in: application mode, firmware 1.41" >/dev/null
zel_drive choose "$SIM" $SIM_MEMORY $MEMORY_THREE
zel_open_file "$sample" && wait_for_log "Loaded data set."
zel_drive menu $DOWNLOAD_DATA
zel_drive wait-line "$DOWNLOAD" $STATUS "Device Connected." >/dev/null
zel_drive press "$DOWNLOAD" $READ_DATA
check "Download Data reads the altimeter" zel_drive wait-line "$DOWNLOAD" $STATUS "Data read successfully."
zel_drive close-window "$DOWNLOAD" && zel_drive wait-closed "$DOWNLOAD"
# The hand-back: none chosen (-1) or the first set, as the download's end left
# the strip; either way the main window shows the downloaded set 0.
handed_back() { tr -d '\r' <"$E2E_LOG" | grep -xE 'Selected Set: (-1|0)' >/dev/null; }
within 15 handed_back
zel_drive menu $FLIGHT_REPORT
save_as "$saved/downloaded.emf"
check "the report of a downloaded set" wait_for_file "$saved/downloaded.emf"
check "... names it as a download" page_says "$saved/downloaded.emf" "altimeter download, set 0"
zel_drive close-window "$DIALOG" && zel_drive wait-closed "$DIALOG"
zel_exit_program
e2e_finish
