#!/usr/bin/env bash
# The Windows pages are the native pages: for each sample flight's report, and
# for the comparison of them all, the layout zeltool.exe draws with GDI+ (every
# frame, tick, label, legend and table cell, its texts measured by GDI) is the
# one zeltool draws with cairo (texts measured by Pango) to 0.02 point, and
# the curves' pixels of either PNG lie within 2 pixels of the other's, on at
# least 99% of them. zeltool.exe also writes the report as an EMF.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly NATIVE_BOXES=$ZEL_BUILD/native-asan/tests/page_boxes
readonly WINDOWS_BOXES=$ZEL_BUILD/mingw/tests/page_boxes.exe
readonly WINDOWS_ZELTOOL=$ZEL_BUILD/mingw/tools/zeltool.exe
readonly REQUIRED=0.99
export SOURCE_DATE_EPOCH=0  # both pages say when they were made alike

# same_layout NATIVE WINDOWS: the same drawing calls in the same order, each
# with the same text and its numbers within 0.02 point.
same_layout() {
  python3 - "$1" "$2" <<'PYTHON'
import sys

def calls(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\r\n").partition(" | ") for line in f if line.strip()]

native, windows = calls(sys.argv[1]), calls(sys.argv[2])
if len(native) != len(windows) or not native:
    sys.exit("%d calls natively, %d on Windows" % (len(native), len(windows)))
worst = 0.0
for (a, _, text_a), (b, _, text_b) in zip(native, windows):
    kind_a, *numbers_a = a.split()
    kind_b, *numbers_b = b.split()
    if kind_a != kind_b or text_a != text_b or len(numbers_a) != len(numbers_b):
        sys.exit("differs: %r against %r" % (a + text_a, b + text_b))
    worst = max([worst] + [abs(float(x) - float(y)) for x, y in zip(numbers_a, numbers_b)])
print("%d calls, largest difference %.2f pt" % (len(native), worst))
sys.exit(worst > 0.025)  # each number is rounded to 0.01
PYTHON
}

# plot_of PNG LAYOUT: the PNG cut to the chart's plot area (the frame in
# LAYOUT), where the curves are and the axes' coloured texts are not, its
# marks' rings (drawn in the curves' colours) blanked out.
plot_of() {
  local crop rings
  crop=$(awk '/^frame/ { k = 150 / 72; printf "%dx%d+%d+%d", $4 * k, $5 * k, $2 * k, $3 * k; exit }' "$2")
  rings=$(awk '/^ring/ { k = 150 / 72; printf "circle %d,%d %d,%d ", $2 * k, $3 * k, $2 * k + 10, $3 * k }' "$2")
  convert "$1" -fill white -draw "${rings:-point 0,0}" -crop "$crop" +repage "${1%.png}-plot.png" &&
    echo "${1%.png}-plot.png"
}

# curves_match NAME COLOUR...: in the plot areas of NAME's PNGs, each colour's
# pixels (its ink, anti-aliased) of either picture near the other's on at
# least REQUIRED of them.
curves_match() {
  local native windows colour share ok=0
  native=$(plot_of "$E2E_OUT/$1-native.png" "$E2E_OUT/$1-native.txt") || return 1
  windows=$(plot_of "$E2E_OUT/$1-windows.png" "$E2E_OUT/$1-native.txt") || return 1
  shift
  for colour in "$@"; do
    for pair in "$native $windows" "$windows $native"; do
      set -- $pair
      share=$(python3 "$ZEL_ROOT/tests/e2e/lib/near_share.py" "$1" "$2" "$colour" ink)
      echo "$colour: $(basename "$1") within 2 px of $(basename "$2"): $share"
      at_least "${share:-0}" "$REQUIRED" || ok=1
    done
  done
  return $ok
}

# layouts_of NAME PAGE ARGS...: both builds' layouts of one page, the same.
layouts_of() {
  local name=$1
  shift
  "$NATIVE_BOXES" "$@" >"$E2E_OUT/$name-native.txt" 2>/dev/null &&
    wine "$WINDOWS_BOXES" "$@" 2>/dev/null | tr -d '\r' >"$E2E_OUT/$name-windows.txt" &&
    same_layout "$E2E_OUT/$name-native.txt" "$E2E_OUT/$name-windows.txt"
}

is_emf() { [ "$(dd if="$1" bs=1 skip=40 count=4 2>/dev/null)" = " EMF" ]; }

make_samples
samples=("$E2E_OUT"/samples/*.zel)
for sample in "${samples[@]}"; do
  name=$(basename "$sample" .zel)
  check "$name: the report's layout is the same in both builds" layouts_of "$name" report "$sample"
  check "$name: zeltool report PNG" "$E2E_ZELTOOL" report "$sample" "$E2E_OUT/$name-native.png"
  check "$name: zeltool.exe report PNG" wine "$WINDOWS_ZELTOOL" report "$sample" "$E2E_OUT/$name-windows.png"
  check "$name: the altitude and velocity curves match" \
    curves_match "$name" '#0072B2' '#D55E00'
done

# The measure tells flights apart: one flight's page does not match another's.
mismatch() { ! at_least "$(python3 "$ZEL_ROOT/tests/e2e/lib/near_share.py" "$1" "$2" '#0072B2' ink)" "$REQUIRED"; }
check "another flight's curve does not match" \
  mismatch "$E2E_OUT/sample-flight-windows-plot.png" "$E2E_OUT/sample-high-flight-native-plot.png"

check "comparison: the layout is the same in both builds" layouts_of compare compare "${samples[@]}"
check "comparison: zeltool compare PNG" "$E2E_ZELTOOL" compare "$E2E_OUT/compare-native.png" "${samples[@]}"
check "comparison: zeltool.exe compare PNG" wine "$WINDOWS_ZELTOOL" compare "$E2E_OUT/compare-windows.png" "${samples[@]}"
check "comparison: every flight's curve matches" \
  curves_match compare '#0072B2' '#D55E00' '#009E73'

check "zeltool.exe report writes an EMF" wine "$WINDOWS_ZELTOOL" report "${samples[0]}" "$E2E_OUT/report.emf"
check "the EMF is an enhanced metafile" is_emf "$E2E_OUT/report.emf"

e2e_finish
