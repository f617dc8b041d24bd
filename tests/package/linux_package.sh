#!/usr/bin/env bash
# zeltool's Debian package as a user meets it: built by scripts/linux-package.sh,
# installed with apt, its stats, plot, report and compare run from the installed
# tool on sample flights (status 0, nothing on standard error), its man page and
# completion in place, then removed with apt, leaving none of its files behind.
# Ends with "N passed, N failed".
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
source "$ZEL_ROOT/tests/support/checks.sh"

# quiet NAME COMMAND...: the command succeeds and says nothing on standard error.
quiet() {
  local name=$1 err=$out/$1.err
  shift
  "$@" >"$out/$name.out" 2>"$err" && [ ! -s "$err" ] || { cat "$err"; return 1; }
}

finish() {
  checks_summary
  exit
}

out=$ZEL_BUILD/package-test
rm -rf "$out"
mkdir -p "$out/samples"
installedBefore=false
dpkg -s zeltool >/dev/null 2>&1 && installedBefore=true

package=$(bash "$ZEL_ROOT/scripts/linux-package.sh" 2>"$out/build.err")
check "the package is built" test -f "$package" || { cat "$out/build.err"; finish; }
check "apt installs it" apt-get install -y -qq "$package" >>"$out/apt.log" 2>&1
check "zeltool is on the PATH" test "$(command -v zeltool)" = /usr/bin/zeltool
"$ZEL_BUILD/native-asan/tools/samples/zelsamples" "$out/samples" >"$out/samples.txt"
mapfile -t flights <"$out/samples.txt"
check "sample flights to read" test "${#flights[@]}" -ge 2

check "stats" quiet stats zeltool stats "${flights[@]}" --format json
check "plot" quiet plot zeltool plot "${flights[0]}" "$out/plot.png"
check "report" quiet report zeltool report "${flights[0]}" "$out/report.pdf"
check "compare" quiet compare zeltool compare "$out/compare.png" "${flights[0]}" "${flights[1]}"
check "the pages are written" test -s "$out/plot.png" -a -s "$out/report.pdf" -a -s "$out/compare.png"
check "its man page" test -f /usr/share/man/man1/zeltool.1
check "its udev rule" test -f /lib/udev/rules.d/70-zelusb.rules
completes() {
  bash -c 'source /usr/share/bash-completion/completions/zeltool
           COMP_WORDS=(zeltool stats --for); COMP_CWORD=2; _zeltool; [ "${COMPREPLY[*]}" = "--format" ] || exit 1
           COMP_WORDS=(zeltool rep); COMP_CWORD=1; _zeltool; [ "${COMPREPLY[*]}" = "report" ]'
}
check "bash completes its commands and options" completes

if $installedBefore; then
  echo "zeltool was installed before this test: it stays"
else
  check "apt removes it" apt-get remove -y -qq zeltool >>"$out/apt.log" 2>&1
  check "none of its files stay" test ! -e /usr/bin/zeltool -a ! -e /lib/udev/rules.d/70-zelusb.rules -a \
    ! -e /usr/share/man/man1/zeltool.1 -a ! -e /usr/share/bash-completion/completions/zeltool
fi
finish
