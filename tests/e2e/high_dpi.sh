#!/usr/bin/env bash
# The program at 96, 120, 144 and 192 DPI under Wine, which draws a DPI-aware
# program at the DPI it is set to: a flight named on the command line, the
# graph's layout as the program logs it on request (legend rows and ground
# caption apart, the caption its scaled rise above the ground line, the text
# drawn where the layout says), and every tool dialog with no text that needs
# more room than its control gives it.
#
# A prefix and a display of its own: the DPI is the prefix's, and other
# scripts run at 96.
set -uo pipefail
unset DISPLAY
export WINEPREFIX=${ZEL_BUILD:-$(cd "$(dirname "$0")/../.." && pwd)/build}/wineprefix-dpi
source "$(dirname "$0")/lib/e2e.sh"

readonly RED='#FF0000' GREEN='#008000' BLUE='#0000FF'
readonly DIALOGS=("40006 Download Data" "40007 Program Chip" "40014 Control Options" "40011 Update Firmware"
  "40010 About" "40017 Flight Report")

make_samples
sample=$E2E_OUT/samples/sample-flight.zel

# set_dpi N: the prefix's screens at N DPI, from the next start of its server.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 &&
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
      /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  wineserver -w
}
# Ends this prefix's server (not another's) with the script, at 96 DPI again.
trap 'set_dpi 96; zel_stop_display' EXIT

# scaled PIXELS DPI: a length of the 96-DPI picture at that DPI, rounded.
scaled() { awk -v p="$1" -v d="$2" 'BEGIN { printf "%d", p * d / 96 + 0.5 }'; }

# The box of the label whose text is $1 in the logged layout: left top right bottom.
label_box() { layout_text | awk -v text="$1" '$1 == "Graph" && $2 == "label:" && substr($0, index($0, $7)) == text { print $3, $4, $5, $6 }'; }
layout_text() { log_text | sed -n '/^Graph layout: /,$p'; }

# boxes_apart BOX...: no two of the boxes (each "l t r b") share a pixel.
boxes_apart() {
  printf '%s\n' "$@" | awk '{ l[NR] = $1; t[NR] = $2; r[NR] = $3; b[NR] = $4 }
    END { for (i = 1; i <= NR; i++) for (j = i + 1; j <= NR; j++)
            if (l[i] < r[j] && l[j] < r[i] && t[i] < b[j] && t[j] < b[i]) exit 1 }'
}

# colour_in_box PNG HEX BOX: pixels of that colour inside the box.
colour_in_box() {
  local l t r b
  read -r l t r b <<<"$3"
  convert "$1" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$E2E_OUT/box.png"
  pixel_count "$E2E_OUT/box.png" "$2"
}

check_graph() {
  local dpi=$1 picture font ground caption altitude velocity set
  check "$dpi DPI: the program draws its graph for $dpi DPI" [ "$(zel_drive graph-layout)" = "$dpi" ]
  eventually bash -c "tr -d '\r' <'$E2E_LOG' | grep -c '^Graph label: ' | grep -qx 6"
  read -r font ground < <(layout_text | sed -n 's/^Graph layout: //p')
  check "$dpi DPI: the labels' font is 12 pt there" [ "$font" = "$(awk -v d="$dpi" 'BEGIN { print 16 * d / 96 }')" ]
  caption=$(label_box Ground)
  altitude=$(label_box "Smoothed altitude")
  velocity=$(label_box "<Velocity> over 1 second")
  set=$(label_box "Data set: 1")
  check "$dpi DPI: legend rows and ground caption apart" boxes_apart "$caption" "$altitude" "$velocity" "$set"
  check "$dpi DPI: the caption sits its scaled rise above the ground line" \
    [ "$(cut -d' ' -f2 <<<"$caption")" = "$((ground - $(scaled 30 "$dpi")))" ]
  picture=$(screenshot_showing "graph-$dpi" "$RED")
  check "$dpi DPI: the ground line lies on the logged row" \
    at_least "$(convert "$picture" -crop "x1+0+$ground" +repage -fill black +opaque "$BLUE" -fill white \
      -opaque "$BLUE" -colorspace gray -format '%[fx:mean]' info:)" 0.9
  check "$dpi DPI: the legend is printed in its boxes" \
    more_than "$(($(colour_in_box "$picture" "$RED" "$altitude") * $(colour_in_box "$picture" "$GREEN" "$velocity") *
      $(colour_in_box "$picture" "$BLUE" "$set") * $(colour_in_box "$picture" "$BLUE" "$caption")))" 0
}

# no_text_clipped CAPTION: the driver found labels to check and none clipped
# (those it found are listed on the way).
no_text_clipped() {
  local clipped
  clipped=$(zel_drive clipped-text "$1") || { echo "$clipped" | sed 's/^/     clipped: /'; return 1; }
  [[ $clipped =~ ^checked\ [1-9] ]]
}

check_dialogs() {
  local dpi=$1 entry id caption
  for entry in "${DIALOGS[@]}"; do
    id=${entry%% *} caption=${entry#* }
    zel_drive menu "$id"
    check "$dpi DPI: no text clipped in $caption" no_text_clipped "$caption"
    dialog_shot "$caption" "dialog-$dpi-${caption// /-}" >/dev/null
    zel_drive close-window "$caption" && zel_drive wait-closed "$caption"
  done
}

for dpi in 96 120 144 192; do
  set_dpi "$dpi"
  check "$dpi DPI: the program starts with a flight" e2e_start_program "$ZEL_PROGRAM" "$(windows_path "$sample")"
  wait_for_log "Loaded data set."
  check_graph "$dpi"
  check_dialogs "$dpi"
  zel_exit_program
done

e2e_finish
