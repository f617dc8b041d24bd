#!/usr/bin/env bash
# The main window's life: resizing redraws at the new size, once, and stops at
# 420 x 320; moving redraws nothing; closing asks first, No keeps everything,
# Yes ends the program with exit code 0.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly RED='#FF0000'

# rightmost_column PNG HEX: the last column holding that colour.
rightmost_column() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -trim -format '%[fx:page.x + w - 1]' info:
}

make_samples
check "program starts" e2e_start_program
check "File > Open of a sample flight" zel_open_file "$E2E_OUT/samples/sample-flight.zel"
wait_for_log "Loaded data set."

# A set of whole seconds ends its curve at the right margin: 50 px from the
# edge when redrawn, elsewhere when an old picture is stretched.
for size in "800 600" "1000 700"; do
  set -- $size
  check "resize to $1 x $2" [ "$(zel_drive resize "$1" "$2")" = "$1 $2" ]
  read -r _ _ clientWidth _ < <(zel_drive client)
  picture=$(stable_screenshot "resized-$1x$2")
  last=$(rightmost_column "$picture" "$RED")
  check "redrawn at $1 x $2: the curve ends at the right margin" \
    [ "$last" -ge $((clientWidth - 51)) -a "$last" -le $((clientWidth - 48)) ]
done

check "the window cannot be made smaller than 420 x 320" [ "$(zel_drive resize 200 100)" = "420 320" ]

# redrawn_since COUNT N: the view was drawn N times since buffer_updates gave
# COUNT. Each driver command returns once the window has handled it.
redrawn_since() { [ $(($(buffer_updates) - $1)) -eq "$2" ]; }

updates=$(buffer_updates)
check "a move ends where it was dragged to" [ "$(zel_drive move 60 40)" = "60 40" ]
check "... and redraws nothing" redrawn_since "$updates" 0
updates=$(buffer_updates)
check "a resize from there" [ "$(zel_drive resize 640 480)" = "640 480" ]
check "... redraws once" redrawn_since "$updates" 1
updates=$(buffer_updates)
zel_drive maximise >/dev/null
check "a maximise redraws once" redrawn_since "$updates" 1

zel_drive resize 900 650 >/dev/null
before=$(stable_screenshot before-close)

zel_drive close
check "closing asks \"Are you sure?\"" [ "$(zel_drive message-box no)" = $'ZEL USB 1.41\nAre you sure?' ]
check "No keeps the window" zel_drive wait-main
check "... and the graph" screen_unchanged "$before" after-no

zel_drive menu 40002
check "File > Exit asks too" [ "$(zel_drive message-box yes)" = $'ZEL USB 1.41\nAre you sure?' ]
check "Yes ends the program with exit code 0" e2e_wait_program

e2e_finish
