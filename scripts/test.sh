#!/usr/bin/env bash
# Builds everything and runs every test suite: the native unit tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the concurrency tests under
# ThreadSanitizer, the same unit tests built for Windows under Wine, the fuzzers
# for a bounded time, the device paths over a real USB stack in a virtual
# machine, and the program's end-to-end tests under Wine on Xvfb.
# Ends with one line "N passed, N failed"; exits non-zero when anything failed.
set -uo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$ZEL_ROOT/scripts/lib/wine.sh"

passed=0
failed=0
failures=()

# run_suite LABEL COMMAND...: runs one test program and adds up its results. A
# GoogleTest summary is counted test by test; any other program counts as one
# test, passed when it exits 0.
run_suite() {
  local label=$1
  shift
  local log="$ZEL_BUILD/logs/$label.log"
  mkdir -p "$(dirname "$log")"
  "$@" >"$log" 2>&1
  local status=$?
  tr -d '\r' <"$log" >"$log.txt" && mv "$log.txt" "$log"
  local ok bad
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -n 1)
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:.*/\1/p' "$log" | tail -n 1)
  if [ -z "$ok" ] && [ -z "$bad" ]; then
    # a script of checks reports its own closing line
    ok=$(sed -n 's/^\([0-9]*\) passed, \([0-9]*\) failed$/\1/p' "$log" | tail -n 1)
    bad=$(sed -n 's/^\([0-9]*\) passed, \([0-9]*\) failed$/\2/p' "$log" | tail -n 1)
  fi
  if [ -z "$ok" ] && [ -z "$bad" ]; then
    if [ $status -eq 0 ]; then ok=1; bad=0; else ok=0; bad=1; fi
  fi
  ok=${ok:-0}
  bad=${bad:-0}
  if [ $status -ne 0 ] && [ "$bad" -eq 0 ]; then bad=1; fi  # crashed after its summary, or a sanitizer report
  passed=$((passed + ok))
  failed=$((failed + bad))
  printf '%-40s %4d passed, %d failed\n' "$label" "$ok" "$bad"
  if [ "$bad" -ne 0 ]; then
    failures+=("$label")
    grep -E '^\[  FAILED  \]|ERROR: |runtime error|Failure' "$log" | head -n 20
  fi
}

cleanup() {
  zel_stop_wine
  zel_stop_display
}
trap cleanup EXIT

zel_require_build_tools
zel_require_wine
zel_require_packaging

zel_log "native build (AddressSanitizer, UndefinedBehaviorSanitizer)"
zel_build_native || exit 1
zel_log "native build (ThreadSanitizer)"
ZEL_TARGETS=concurrency_tests zel_build native-tsan -DCMAKE_BUILD_TYPE=Debug -DZEL_TSAN=ON || exit 1
zel_log "Windows build"
zel_build_windows || exit 1
zel_log "fuzzers"
ZEL_TARGETS=fuzzers zel_build fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DZEL_FUZZ=ON -DZEL_TESTS=OFF || exit 1

run_suite "layers" bash "$ZEL_ROOT/tests/layers.sh"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$ZEL_ROOT/tests/lsan-suppressions.txt
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for suite in "$ZEL_BUILD"/native-asan/tests/*_tests; do
  run_suite "native/$(basename "$suite")" "$suite"
done
run_suite "tsan/concurrency_tests" "$ZEL_BUILD/native-tsan/tests/concurrency_tests"

zel_start_display || exit 1
zel_init_wine_prefix
for suite in "$ZEL_BUILD"/mingw/tests/*_tests.exe; do
  run_suite "wine/$(basename "$suite" .exe)" wine "$suite"
done

for fuzzer in "$ZEL_BUILD"/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  run_suite "fuzz/$name" "$ZEL_ROOT/scripts/fuzz.sh" "$fuzzer" "$ZEL_ROOT/tests/fuzz/corpus/${name#fuzz_}"
done

run_suite "package/linux" bash "$ZEL_ROOT/tests/package/linux_package.sh"
run_suite "vm/linux_usb" bash "$ZEL_ROOT/tests/vm/run.sh"

for e2e in "$ZEL_ROOT"/tests/e2e/*.sh; do
  [ -f "$e2e" ] || continue
  run_suite "e2e/$(basename "$e2e" .sh)" bash "$e2e"
done

echo
[ ${#failures[@]} -eq 0 ] || echo "failed suites: ${failures[*]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
