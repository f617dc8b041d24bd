#!/usr/bin/env bash
# Checks that each layer includes only what lies below it, and that <windows.h>
# stays in the folders that say win32.
set -uo pipefail
cd "$(dirname "$0")/.."

passed=0
failed=0

# forbid FOLDER PATTERN WHY: no portable source under FOLDER has a line
# matching PATTERN. forbid_anywhere: nor any of its Win32 sources.
forbid() { forbid_in "$1" "$2" "$3" '/win32/'; }
forbid_anywhere() { forbid_in "$1" "$2" "$3" '^$'; }
forbid_in() {
  local folder=$1 pattern=$2 why=$3 skip=$4 found
  found=$(grep -rnE --include='*.h' --include='*.cpp' "$pattern" "$folder" | grep -vE "$skip" || true)
  if [ -z "$found" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $folder: $why"
    echo "$found"
  fi
}

upper='#include "(app|dialogs|view|sim|tools)/'
forbid base '#include "(app|dialogs|view|sim|tools|data|device)/' "the base includes nothing above it"
forbid data '#include "(app|dialogs|view|sim|tools|device|prompts)/' "data reaches neither the device layer nor any above"
forbid_anywhere prompts '#include "(app|dialogs|view|sim|tools)/' "the shared prompts reach no layer above them"
forbid_anywhere dialogs '#include "(app|tools)/' "the dialogs reach no part of the program's shell"
forbid device "$upper" "device reaches no layer above the core"
forbid sim '#include "(app|dialogs|view|tools)/' "the simulated altimeter reaches no layer above the core"
forbid view '#include "(app|dialogs|sim|tools)/' "the graph reaches no layer above it"
for folder in base data device sim view app dialogs prompts; do
  forbid "$folder" '#include <windows\.h>' "portable code never includes <windows.h>"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
