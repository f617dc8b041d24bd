#!/usr/bin/env bash
# DirectDraw failing where nobody can make it fail at will, in the build of the
# program whose faults the driver arms: surfaces lost at a present are drawn
# again, and a drawing that cannot be made at a resize says so before the
# program ends.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly RED='#FF0000'

# wait_for_updates N: waits up to 5 s for the view's Nth drawing.
wait_for_updates() {
  local tries
  for tries in $(seq 50); do
    [ "$(buffer_updates)" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

make_samples
check "program starts" e2e_start_program "$ZEL_FAULT_PROGRAM"
check "File > Open of a sample flight" zel_open_file "$E2E_OUT/samples/sample-flight.zel"
flight=$(screenshot_showing flight "$RED")

# The loss leaves the back surface in a colour no view has; the first present
# finds it lost, the second would show what is left in it.
updates=$(buffer_updates)
zel_drive fault surfaces-lost
zel_drive repaint
check "surfaces lost at a present are drawn again" wait_for_updates $((updates + 1))
zel_drive repaint
check "... and the flight is back on screen" screen_unchanged "$flight" after-loss

check "a resize to begin with" [ "$(zel_drive resize 800 600)" = "800 600" ]
zel_drive fault set-up-fails
# The resize waits for the box, so the answer runs beside it.
zel_drive message-box ok >"$E2E_OUT/box.txt" &
answer=$!
zel_drive resize 900 650 >/dev/null
wait "$answer"
check "a drawing that cannot be made at a resize shows the box of the start" \
  [ "$(cat "$E2E_OUT/box.txt")" = $'Direct Draw Init Failed!\nFailed to Initialize Direct Draw' ]
check "... then the program ends" zel_drive wait-gone
check "... with exit code 0" e2e_wait_program

e2e_finish
