#!/usr/bin/env bash
# One program at a time: a second start with a flight (a double click on a
# data file while the program runs) hands the flight to the running program
# and ends; the running program shows it, or message 109 for a damaged file,
# and while one of its dialogs is open, opens it once the dialog has closed.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

readonly DEMO=$ZEL_BUILD/mingw/app/zelusb-demo.exe
readonly ABOUT="About" DOWNLOAD="Download Data" STATUS=1003 RED='#FF0000'
readonly LOAD_FAILED=$'ZEL USB 1.41\nCould not load file. Make sure the file is valid and not locked.'

make_samples
sample=$E2E_OUT/samples/sample-flight.zel
damaged=$E2E_OUT/damaged.zel
head -c 200 "$sample" >"$damaged"

# second_start [FILE]: starts the program again, bounded; its exit code.
second_start() { timeout 60 wine "$DEMO" "$@" >"$E2E_OUT/second.log" 2>/dev/null; }
one_main_window() { [ "$(zel_drive main-windows)" = 1 ]; }
loaded_count() { log_text | grep -cx 'Loaded data set.'; }
loads_became() { [ "$(loaded_count)" = "$1" ]; }
# About above the main window it belongs to.
about_in_front() { [[ $(zel_drive windows | grep -oE '^(DialogClass|AltInterface) "[^"]*"' | tr '\n' '|') == 'DialogClass "About"|AltInterface "ZEL USB 1.41"|' ]]; }
# Since the mark: the dialog's hand-back, then the flight handed over.
handed_back_then_loaded() {
  [[ $(log_since_mark | grep -E '^(Selected Set: |Loaded data set\.)' | tr '\n' '|') =~ ^Selected\ Set:\ [0-9a-f]+\|Loaded\ data\ set\.\|$ ]]
}

check "the demonstration program starts" e2e_start_program "$DEMO"

# ---- A second start with a flight ----
check "a second start with a flight ends at once, with success" second_start "$(windows_path "$sample")"
check "... it showed no window of its own" one_main_window
check "... and wrote nothing" [ ! -s "$E2E_OUT/second.log" ]
check "the running program opens the flight as File > Open does" wait_for_log "Loaded data set."
check "... and shows it" more_than "$(pixel_count "$(screenshot_showing handed-over "$RED")" "$RED")" 2000

check "a second start without a file ends too" second_start
check "... leaving one main window" one_main_window
check "... and the flight shown" loads_became 1

# A relative name is the second start's own: it hands over the whole path.
check "a second start with a name relative to its folder hands over the whole path" \
  bash -c "cd '$(dirname "$sample")' && timeout 60 wine '$DEMO' '$(basename "$sample")' >/dev/null 2>&1"
check "... which the running program opens" eventually loads_became 2

# ---- A damaged file ----
second_start "$(windows_path "$damaged")" &
answer=$(zel_drive message-box ok)
check "a damaged file handed over shows message 109" [ "$answer" = "$LOAD_FAILED" ]
check "... and its second start has ended" wait $!
check "... leaving the flight as it was" loads_became 2

# ---- While a dialog is open ----
zel_drive menu 40010
zel_drive wait-line "$ABOUT" $STATUS "Hardware version 1.2x" >/dev/null
check "with About open, a second start with a flight ends" second_start "$(windows_path "$sample")"
check "... the flight waits while About is open" loads_became 2
check "... About stays in front of the main window" about_in_front
zel_drive close-window "$ABOUT" && zel_drive wait-closed "$ABOUT"
check "... and opens once About has closed" eventually loads_became 3

zel_drive menu 40006
zel_drive wait-line "$DOWNLOAD" $STATUS "Device Connected." >/dev/null
mark_log
check "with Download Data open, a second start with a flight ends" second_start "$(windows_path "$sample")"
zel_drive close-window "$DOWNLOAD" && zel_drive wait-closed "$DOWNLOAD"
check "... the flight opens after Download Data has handed its set back" eventually handed_back_then_loaded
check "only one program ran throughout" one_main_window

e2e_finish
