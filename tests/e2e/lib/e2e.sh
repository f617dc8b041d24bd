# Shared by the end-to-end scripts: the program under Wine, the driver that
# works its windows, screenshots and pixel counts, and the tally of checks.
# The test runner exports WINEPREFIX and DISPLAY (a prepared virtual desktop);
# a script run on its own starts a display of its own and prepares the prefix.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib/common.sh"
source "$ZEL_ROOT/scripts/lib/wine.sh"
source "$ZEL_ROOT/scripts/lib/zelusb.sh"
source "$ZEL_ROOT/tests/support/checks.sh"

E2E_NAME=$(basename "$0" .sh)
E2E_OUT=$ZEL_BUILD/e2e/$E2E_NAME
E2E_ZELTOOL=$ZEL_BUILD/native-asan/tools/zeltool
E2E_LOG=$E2E_OUT/stdout.log
E2E_ERRORS=$E2E_OUT/stderr.log
ZEL_PROGRAM_PID=

rm -rf "$E2E_OUT"
mkdir -p "$E2E_OUT"
zel_start_display || exit 1
zel_init_wine_prefix
# A display started here is stopped however the script ends.
trap zel_stop_display EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# Ends the script with the closing line the test runner counts.
e2e_finish() {
  e2e_stop_program
  checks_summary
  exit
}

# e2e_start_program [PROGRAM [ARGUMENT...]]: starts the program (or PROGRAM,
# with those arguments), its output in
# E2E_LOG and what Wine says of it (a crash, say) in E2E_ERRORS, and waits for
# its first painted frame (the background).
e2e_start_program() {
  wine "${1:-$ZEL_PROGRAM}" "${@:2}" >"$E2E_LOG" 2>"$E2E_ERRORS" &
  ZEL_PROGRAM_PID=$!
  zel_drive wait-main && zel_drive wait-colour 180 180 255
}

# Waits for the program to end; its exit code.
e2e_wait_program() {
  local status=0
  wait "$ZEL_PROGRAM_PID" || status=$?
  ZEL_PROGRAM_PID=
  return $status
}

# Whether the program has ended (a process ended but not yet waited for counts).
program_ended() {
  local state
  state=$(ps -o stat= -p "$ZEL_PROGRAM_PID" 2>/dev/null)
  [ -z "$state" ] || [[ $state == Z* ]]
}

# A program left running by a failed check is ended (ours, by its id).
e2e_stop_program() {
  [ -n "$ZEL_PROGRAM_PID" ] || return 0
  kill "$ZEL_PROGRAM_PID" 2>/dev/null
  wait "$ZEL_PROGRAM_PID" 2>/dev/null
  ZEL_PROGRAM_PID=
}

# The log without carriage returns.
log_text() { tr -d '\r' <"$E2E_LOG"; }

wait_for_log() { zel_wait_for_line "$E2E_LOG" "$1"; }

# within SECONDS COMMAND...: polls the command every 0.1 s for up to SECONDS.
within() {
  local tries
  for tries in $(seq $(($1 * 10))); do
    "${@:2}" && return 0
    sleep 0.1
  done
  return 1
}
# eventually COMMAND...: for up to 15 s, for control states and windows that
# change a moment after what brought them about.
eventually() { within 15 "$@"; }

# mark_log, then logged_since_mark LINE: whether the log gained that whole line since.
# A grep that reads to the end: one that stopped at its match would leave the
# commands before it writing into a closed pipe, which pipefail counts as failed.
mark_log() { log_mark=$(log_text | wc -l); }
logged_since_mark() { log_text | tail -n +$((log_mark + 1)) | grep -xF -- "$1" >/dev/null; }
log_since_mark() { log_text | tail -n +$((log_mark + 1)); }

# all_enabled CAPTION ID...: every one of those controls is enabled; none_enabled likewise.
enabled_ids() { echo " $(zel_drive enabled "$1" | tr '\n' ' ') "; }
all_enabled() {
  local shown id
  shown=$(enabled_ids "$1")
  shift
  for id; do [[ $shown == *" $id "* ]] || return 1; done
}
none_enabled() {
  local shown id
  shown=$(enabled_ids "$1")
  shift
  for id; do [[ $shown == *" $id "* ]] && return 1; done
  return 0
}

# How many times the data set view was drawn ("Updating buffer." lines).
buffer_updates() { log_text | grep -c '^Updating buffer\.$'; }

# Waits up to 15 s for a file to appear (files are written beside and moved in whole).
wait_for_file() {
  local tries
  for tries in $(seq 150); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# screenshot NAME: the whole screen as NAME.png and the client area as
# NAME-client.png, both in E2E_OUT; prints the client area's path.
screenshot() {
  local name=$1 x y w h
  read -r x y w h < <(zel_drive client)
  zel_screenshot "$E2E_OUT/$name.png"
  convert "$E2E_OUT/$name.png" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_OUT/$name-client.png"
  echo "$E2E_OUT/$name-client.png"
}

# screenshot_showing NAME HEX: screenshots until the client area holds that
# colour (up to 10 s), for a picture that is still being drawn; prints its path.
screenshot_showing() {
  local picture tries
  for tries in $(seq 30); do
    picture=$(screenshot "$1")
    [ "$(pixel_count "$picture" "$2")" -gt 0 ] && break
    sleep 0.3
  done
  echo "$picture"
}

# stable_screenshot NAME: screenshots until two in a row are the same (up to
# 10 s), so that a paint in progress is not taken; prints the path.
stable_screenshot() {
  local previous picture tries
  previous=$(screenshot "$1-previous")
  for tries in $(seq 30); do
    sleep 0.2
    picture=$(screenshot "$1")
    same_picture "$previous" "$picture" && break
    cp "$picture" "$previous"
  done
  echo "$picture"
}

# screen_unchanged BEFORE NAME: the client area shows BEFORE again, once the
# windows that covered it are gone and it is repainted (up to 10 s).
screen_unchanged() {
  local tries
  for tries in $(seq 30); do
    same_picture "$1" "$(screenshot "$2")" && return 0
    sleep 0.3
  done
  return 1
}

# dialog_shot CAPTION NAME: that window, cut from a screenshot, as NAME.png in
# E2E_OUT; prints its path.
dialog_shot() {
  local x y w h
  read -r x y w h < <(zel_drive screen-rect "$1" 0)
  zel_screenshot "$E2E_OUT/$2-screen.png"
  convert "$E2E_OUT/$2-screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_OUT/$2.png"
  echo "$E2E_OUT/$2.png"
}

# check_dialog_face CAPTION FACE CAPTIONS FRAMES: a screenshot of the dialog
# shows at least that many pixels of its face, group-caption and frame colours.
check_dialog_face() {
  local face
  face=$(dialog_shot "$1" face)
  check "the face is RGB(196, 222, 255)" more_than "$(pixel_count "$face" '#C4DEFF')" "$2"
  check "group captions are RGB(160, 82, 45)" more_than "$(pixel_count "$face" '#A0522D')" "$3"
  check "group frames are RGB(210, 180, 140)" more_than "$(pixel_count "$face" '#D2B48C')" "$4"
}

# pixel_count PNG HEX: how many pixels of exactly that colour (#RRGGBB).
pixel_count() {
  convert "$1" -format %c histogram:info:- | awk -v hex="$2" '$3 == hex { sub(":", "", $1); n += $1 } END { print n + 0 }'
}

# fullest_row PNG HEX: the largest share of one row's pixels in that colour.
fullest_row() {
  local height
  height=$(convert "$1" -format %h info:)
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace gray -scale "1x${height}!" \
    -format '%[fx:maxima]' info:
}

# at_least A B: A >= B, for fractions.
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

# colour_count PNG: how many different colours.
colour_count() { convert "$1" -format '%k' info:; }

# Greater than: for checks on counts.
more_than() { [ "$1" -gt "$2" ]; }

# same_picture A B: no pixel differs.
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }

# strip_runs_of CAPTION ID: the memory strip's colours along its middle row,
# one "COLOUR@X" per run, X in the strip's client pixels; inside the focus
# rectangle, which the strip draws 1 pixel in while it holds the focus.
strip_runs_of() {
  local x y w h shot=$E2E_OUT/strip.png
  read -r x y w h < <(zel_drive screen-rect "$1" "$2")
  zel_screenshot "$shot"
  convert "$shot" -crop "$((w - 4))x1+$((x + 2))+$((y + h / 2))" +repage -depth 8 txt:- |
    awk 'NR > 1 { split($1, at, ","); if ($3 != last) { printf "%s@%d ", $3, at[1] + 2; last = $3 } }'
}
colours_of() { sed 's/@[0-9]*//g; s/ $//' <<<"$1"; }
# run_x RUNS N: an x inside the N-th run (from 1).
run_x() { awk -v n="$2" '{ split($n, run, "@"); print run[2] + 3 }' <<<"$1"; }

windows_path() { winepath -w "$1" 2>/dev/null; }

make_samples() { zel_make_samples "$E2E_OUT/samples"; }
