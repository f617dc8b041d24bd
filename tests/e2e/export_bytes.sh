#!/usr/bin/env bash
# zeltool's CSV and XML exports and its info are the same bytes from the native
# build and from the Windows build under Wine, for every seed data set file;
# file names beyond ASCII work under Windows; and an export onto a full disk
# fails in both builds, leaving the previous file and nothing beside it. Uses the trees $ZEL_BUILD/native-asan and
# $ZEL_BUILD/mingw. Ends with "N passed, N failed".
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
source "$ZEL_ROOT/scripts/lib/wine.sh"

native=$ZEL_BUILD/native-asan/tools/zeltool
windows=$ZEL_BUILD/mingw/tools/zeltool.exe
samples=$ZEL_ROOT/tests/fuzz/corpus/load_data_set
work=$(mktemp -d)
full=$work/full
passed=0
failed=0

cleanup() {
  mountpoint -q "$full" 2>/dev/null && umount "$full"
  rm -rf "$work"
}
trap cleanup EXIT

check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
  fi
}

# The Windows name of a path, as Wine maps the root of the file system to Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

run_windows() { wine "$windows" "$@" 2>"$work/wine.err"; }

for tool in "$native" "$windows"; do
  [ -x "$tool" ] || [ -f "$tool" ] || { echo "missing $tool"; echo "0 passed, 1 failed"; exit 1; }
done
zel_start_display >/dev/null 2>&1
zel_init_wine_prefix

# same_outcome NATIVE_STATUS WINDOWS_STATUS NATIVE_FILE WINDOWS_FILE: both
# failed and wrote nothing, or both succeeded with the same bytes.
same_outcome() {
  [ "$1" -eq "$2" ] || return 1
  if [ "$1" -ne 0 ]; then
    [ ! -e "$3" ] && [ ! -e "$4" ]
  else
    cmp -s "$3" "$4"
  fi
}

for sample in "$samples"/*.zel; do
  name=$(basename "$sample" .zel)
  for format in csv xml; do
    for set in 0 1; do
      out=$work/$name.$set
      "$native" "$format" "$sample" "$out.native.$format" --set $set 2>/dev/null
      native_status=$?
      run_windows "$format" "$(windows_path "$sample")" "$(windows_path "$out.windows.$format")" --set $set
      check "$name set $set $format" same_outcome $native_status $? "$out.native.$format" "$out.windows.$format"
    done
  done
  # The info text, without the file name line and the console's CR.
  "$native" info "$sample" | tail -n +2 >"$work/$name.native.info"
  run_windows info "$(windows_path "$sample")" | tr -d '\r' | tail -n +2 >"$work/$name.windows.info"
  check "$name info" cmp -s "$work/$name.native.info" "$work/$name.windows.info"
done

# File names beyond ASCII reach the Windows build intact.
cp "$samples/flight.zel" "$work/flüge.zel"
run_windows csv "$(windows_path "$work/flüge.zel")" "$(windows_path "$work/résultat.csv")"
check "file names beyond ASCII" cmp -s "$work/flight.0.native.csv" "$work/résultat.csv"

# A full disk: a small file system of our own, filled up after the previous export.
mkdir -p "$full"
if mount -t tmpfs -o size=64k tmpfs "$full" 2>/dev/null; then
  printf 'previous export\n' >"$full/flight.csv"
  cat /dev/zero >"$full/filler" 2>/dev/null
  for build in native windows; do
    if [ $build = native ]; then
      "$native" csv "$samples/flight.zel" "$full/flight.csv" 2>"$work/full.err"
      status=$?
    else
      run_windows csv "$(windows_path "$samples/flight.zel")" "$(windows_path "$full/flight.csv")"
      status=$?
      cp "$work/wine.err" "$work/full.err"
    fi
    check "$build export onto a full disk fails" [ $status -ne 0 ]
    check "$build export onto a full disk says so" grep -q 'flight.csv cannot be written' "$work/full.err"
    check "$build export onto a full disk keeps the previous file" \
      [ "$(cat "$full/flight.csv")" = "previous export" ]
    check "$build export onto a full disk leaves nothing beside it" [ "$(ls "$full" | wc -l)" -eq 2 ]
  done
else
  echo "no tmpfs could be mounted here: the full-disk checks were not run"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
