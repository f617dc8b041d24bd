# The tally of a test script's checks and its closing line, "N passed, N
# failed", which the test runner counts.
# shellcheck shell=bash
checks_passed=0
checks_failed=0

# check NAME COMMAND...: one check, passed when the command succeeds; its
# status is the check's, so a script can stop or say more after a failure.
check() {
  local name=$1
  shift
  if "$@"; then
    checks_passed=$((checks_passed + 1))
    echo "ok   $name"
  else
    checks_failed=$((checks_failed + 1))
    echo "FAIL $name"
    return 1
  fi
}

# The closing line; its status says whether every check passed.
checks_summary() {
  echo "$checks_passed passed, $checks_failed failed"
  [ "$checks_failed" -eq 0 ]
}
