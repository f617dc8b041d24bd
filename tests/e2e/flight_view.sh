#!/usr/bin/env bash
# The program's first start, File > Open of a flight, a damaged file, and the
# exports through the menu, against the program under Wine; then a flight and a
# damaged file named on the command line, as a double click on them names them.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly BACKGROUND='#B4B4FF' RED='#FF0000' GREEN='#008000' BLUE='#0000FF'

make_samples
sample=$E2E_OUT/samples/sample-flight.zel
damaged=$E2E_OUT/damaged.zel
head -c 200 "$sample" >"$damaged"

check "program starts and shows its window" e2e_start_program
check "title" [ "$(zel_drive title)" = "ZEL USB 1.41" ]
check "log opens with the banner and an empty line, CR LF each" \
  [ "$(head -c 15 "$E2E_LOG" | od -An -c | tr -s ' ')" = "$(printf -- '- ZEL USB -\r\n\r\n' | od -An -c | tr -s ' ')" ]

start=$(stable_screenshot start)
check "at start the client area is the background only" \
  [ "$(colour_count "$start")" = 1 -a "$(pixel_count "$start" "$BACKGROUND")" -gt 0 ]

for kind in "40009 CSV" "40016 XML"; do
  set -- $kind
  zel_drive menu "$1"
  check "Export $2 with nothing displayed shows no dialog" zel_drive no-dialog 1500
done
check "... and logs no set" bash -c "! tr -d '\r' <'$E2E_LOG' | grep -q '^Current Set: '"

check "File > Open of a sample flight" zel_open_file "$sample"
check "\"Loaded data set.\" logged" wait_for_log "Loaded data set."
check "\"NT Version: 501\" logged" wait_for_log "NT Version: 501"
check "\"size: 58\" logged" wait_for_log "size: 58"
flight=$(screenshot_showing flight "$RED")
check "red smoothed-altitude curve" more_than "$(pixel_count "$flight" "$RED")" 2000
check "green velocity curve" more_than "$(pixel_count "$flight" "$GREEN")" 2000
check "blue ground line, bands and labels" more_than "$(pixel_count "$flight" "$BLUE")" 1200
check "background around them" more_than "$(pixel_count "$flight" "$BACKGROUND")" 500000
# The ground line: a row of blue across the client area, but where the
# curves and the ejection bands cross it.
check "ground line spans the width" at_least "$(fullest_row "$flight" "$BLUE")" 0.9

zel_open_file "$damaged"
answer=$(zel_drive message-box ok)
check "a damaged file shows message 109" [ "$answer" = $'ZEL USB 1.41\nCould not load file. Make sure the file is valid and not locked.' ]
check "... and leaves the previous graph" screen_unchanged "$flight" after-damaged

for kind in "40009 csv Export to CSV" "40016 xml Export to XML"; do
  set -- $kind
  id=$1 ext=$2
  shift 2
  exported=$E2E_OUT/export.$ext
  zel_drive menu "$id"
  zel_drive file-dialog "$*" "$(windows_path "$exported")"
  wait_for_file "$exported"
  "$E2E_ZELTOOL" "$ext" "$sample" "$E2E_OUT/zeltool.$ext" >/dev/null 2>&1
  check "Export ${ext^^} writes the bytes zeltool writes" cmp -s "$exported" "$E2E_OUT/zeltool.$ext"
done
# The smoothing weights of each export's rebuild join the next line.
check "exports log the set" [ "$(log_text | grep -c 'Current Set: 0$')" = 2 ]
zel_exit_program

# ---- Files named on the command line ----
check "the program starts with a flight named on its command line" \
  e2e_start_program "$ZEL_PROGRAM" "$(windows_path "$sample")"
check "... and shows it" more_than "$(pixel_count "$(screenshot_showing named "$RED")" "$RED")" 2000
check "... as File > Open does" wait_for_log "Loaded data set."
zel_exit_program
# The box comes up over the window, whose background is painted meanwhile.
e2e_start_program "$ZEL_PROGRAM" "$(windows_path "$damaged")"
answer=$(zel_drive message-box ok)
check "a damaged file named on the command line shows message 109" \
  [ "$answer" = $'ZEL USB 1.41\nCould not load file. Make sure the file is valid and not locked.' ]
check "... and the graph stays empty" [ "$(colour_count "$(stable_screenshot named-damaged)")" = 1 ]

e2e_finish
