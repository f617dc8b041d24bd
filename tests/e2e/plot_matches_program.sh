#!/usr/bin/env bash
# zeltool plot draws what the program shows: for each sample flight, opened in
# the program with File > Open, the red and green curve pixels of zeltool's
# chart at the client area's size lie within 2 pixels of a pixel of the same
# colour in the program's screenshot, on at least 95% of their length.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly RED='#FF0000' GREEN='#008000' REQUIRED=0.95

# near_share CHART SHOT HEX: the share of CHART's pixels of that colour that
# have one of the same colour within 2 pixels in SHOT (0 when CHART has none).
near_share() { python3 "$ZEL_ROOT/tests/e2e/lib/near_share.py" "$@"; }

# The smoothing weights of a selection join the line that says the view was drawn.
drawn_since_mark() { log_since_mark | grep 'Updating buffer\.$' >/dev/null; }

make_samples
check "program starts and shows its window" e2e_start_program
previous_chart=
for sample in "$E2E_OUT"/samples/*.zel; do
  name=$(basename "$sample" .zel)
  mark_log
  check "$name: File > Open" zel_open_file "$sample"
  check "$name: drawn" eventually drawn_since_mark
  shot=$(stable_screenshot "$name")
  size=$(convert "$shot" -format %wx%h info:)
  chart=$E2E_OUT/$name-zeltool.png
  check "$name: zeltool plot --size $size" "$E2E_ZELTOOL" plot "$sample" "$chart" --size "$size"
  for colour in "red $RED" "green $GREEN"; do
    set -- $colour
    share=$(near_share "$chart" "$shot" "$2")
    echo "$name: $1 pixels of the chart within 2 px of the program's: $share"
    check "$name: $1 curve pixels match the program's (at least $REQUIRED)" at_least "${share:-0}" "$REQUIRED"
  done
  # The measure tells flights apart: another flight's chart falls short.
  if [ -n "$previous_chart" ]; then
    share=$(near_share "$previous_chart" "$shot" "$RED")
    echo "$name: red pixels of the previous flight's chart within 2 px: $share"
    check "$name: another flight's chart does not match" at_least "$REQUIRED" "${share:-1}"
  fi
  previous_chart=$chart
done

e2e_finish
