#!/usr/bin/env bash
# The Windows packages (scripts/package.sh): the portable zip's contents, and
# the installer in a fresh Wine prefix of its own, per machine (the default
# when elevated, as Wine's user is) and per user (/CurrentUser): a silent
# install, its files, Start-menu shortcut, Add/Remove Programs entry and .zel
# association, the installed program starting, and opening a .zel file through
# the shell; nothing replaced or removed while the installed program runs;
# installs over an installation of the same and of the other mode leaving one;
# an install through every page whose finish page starts the program through
# the shell; and the entry's own silent uninstall leaving no file, shortcut or
# registry key behind.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# A prefix of its own, so that whatever the installer leaves is there to find.
export WINEPREFIX=$E2E_OUT/prefix
# Shortcuts in the prefix's Start menu would otherwise become this machine's menu entries.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winemenubuilder.exe=d"
source "$ZEL_ROOT/scripts/lib/wine.sh"
trap zel_stop_wine EXIT
zel_init_wine_prefix

readonly UNINSTALL_KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEL USB'
readonly PROGID='ZELUSB.DataSet'
readonly FILES=(zelusb.exe zeltool.exe ReadMe.txt)
readonly RED='#FF0000'
profile="C:\\users\\$(id -un)"  # Wine names the profile after the Unix user
# Each mode's registry root, folder and Start menu, and the other mode.
declare -A ROOT=([AllUsers]=HKLM [CurrentUser]=HKCU)
declare -A OTHER=([AllUsers]=CurrentUser [CurrentUser]=AllUsers)
declare -A DIR=([AllUsers]='C:\Program Files\ZEL USB' [CurrentUser]="$profile\\AppData\\Local\\Programs\\ZEL USB")
declare -A MENU=([AllUsers]='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
  [CurrentUser]="$profile\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs")

mapfile -t packages < <(ZEL_BUILD=$ZEL_BUILD bash "$ZEL_ROOT/scripts/package.sh")
setup=${packages[0]:-}
portable=${packages[1]:-}
check "package.sh makes the installer and the portable zip" [ -f "$setup" -a -f "$portable" ]

zip_names() { python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$1"; }
check "the zip holds the program, zeltool and the read-me in one folder" \
  [ "$(zip_names "$portable")" = "$(printf 'zelusb-1.41/%s\n' '' ReadMe.txt zeltool.exe zelusb.exe)" ]
python3 -m zipfile -e "$portable" "$E2E_OUT/portable"
unpacked=$E2E_OUT/portable/zelusb-1.41

unix_dir() { winepath -u "${DIR[$1]}" 2>/dev/null; }
unix_link() { winepath -u "${MENU[$1]}\\ZEL USB.lnk" 2>/dev/null; }

# entry_value NAME: one value of the entry last read into $entry.
entry_value() { sed -n "s/^ *$1 *REG_[A-Z_]* *//p" <<<"$entry"; }
read_entry() { entry=$(wine reg query "$1\\$UNINSTALL_KEY" 2>/dev/null | tr -d '\r'); }
no_entry() { ! wine reg query "$1\\$UNINSTALL_KEY" >/dev/null 2>&1; }

# association ROOT: the default values of the .zel keys under that root's
# classes, a "key=value" line each.
association() {
  { wine reg query "$1\\Software\\Classes\\.zel"; wine reg query "$1\\Software\\Classes\\$PROGID" /s; } 2>/dev/null |
    tr -d '\r' | awk '/^HKEY/ { sub(/^.*\\Classes\\/, ""); key = $0 }
      /^ *\(Default\) *REG_SZ/ { sub(/^ *\(Default\) *REG_SZ */, ""); print key "=" $0 }'
}
association_of() {
  printf '%s\n' ".zel=$PROGID" "$PROGID=ZEL USB data set" "$PROGID\\DefaultIcon=$1\\zelusb.exe,0" \
    "$PROGID\\shell\\open\\command=\"$1\\zelusb.exe\" \"%1\""
}

same_files() {
  local file
  for file in "${FILES[@]}" uninstall.exe; do [ -f "$1/$file" ] || return 1; done
  for file in "${FILES[@]}"; do cmp -s "$1/$file" "$unpacked/$file" || return 1; done
}

# The size in KiB of the files in a folder, as the installer adds it up.
kib_in() { find "$1" -type f -printf '%s\n' | awk '{ n += $1 } END { print int(n / 1024) }'; }
within_one() { [ "$1" -ge $(($2 - 1)) ] && [ "$1" -le $(($2 + 1)) ]; }

# None of a mode's entry, folder, shortcut and association.
nothing_installed() { no_entry_folder_or_shortcut "$1" && [ -z "$(association "${ROOT[$1]}")" ]; }
no_entry_folder_or_shortcut() { no_entry "${ROOT[$1]}" && [ ! -e "$(unix_dir "$1")" ] && [ ! -e "$(unix_link "$1")" ]; }

# installed LABEL MODE: what an install in MODE leaves, and nothing of the other mode.
installed() {
  local label=$1 mode=$2
  local dir=${DIR[$2]} root=${ROOT[$2]}
  check "$label: installs the zip's files and the uninstaller into $dir" same_files "$(unix_dir "$mode")"
  check "$label: Start-menu shortcut to the program" grep -qaF "$dir\\zelusb.exe" "$(unix_link "$mode")"
  read_entry "$root"
  check "$label: DisplayName" [ "$(entry_value DisplayName)" = "ZEL USB" ]
  check "$label: DisplayVersion" [ "$(entry_value DisplayVersion)" = "1.41" ]
  check "$label: Publisher" [ -n "$(entry_value Publisher)" ]
  check "$label: DisplayIcon is the program's icon" [ "$(entry_value DisplayIcon)" = "$dir\\zelusb.exe,0" ]
  check "$label: EstimatedSize in KiB" within_one "$(($(entry_value EstimatedSize)))" "$(kib_in "$(unix_dir "$mode")")"
  check "$label: InstallLocation" [ "$(entry_value InstallLocation)" = "$dir" ]
  check "$label: .zel files open in the installed program, with its icon" \
    [ "$(association "$root")" = "$(association_of "$dir")" ]
  check "$label: no entry, folder, shortcut or association of the other mode" nothing_installed "${OTHER[$mode]}"
}

# installed_over LABEL MODE: the checks of an install over another, grouped:
# the new files, one entry, shortcut and association, none of the other mode.
installed_over() {
  local label=$1 mode=$2
  check "$label: the installer's files in ${DIR[$mode]}" same_files "$(unix_dir "$mode")"
  check "$label: its shortcut, its entry at 1.41 and its association" registered "$mode"
  check "$label: no entry, folder, shortcut or association of the other mode" nothing_installed "${OTHER[$mode]}"
}
registered() {
  local dir=${DIR[$1]}
  read_entry "${ROOT[$1]}"
  grep -qaF "$dir\\zelusb.exe" "$(unix_link "$1")" && [ "$(entry_value DisplayVersion)" = "1.41" ] &&
    [ "$(entry_value InstallLocation)" = "$dir" ] && [ "$(association "${ROOT[$1]}")" = "$(association_of "$dir")" ]
}

# What an install leaves, to compare before and after: its files, shortcut,
# entry and association.
install_state() {
  md5sum "$(unix_dir "$1")"/* "$(unix_link "$1")"
  wine reg query "${ROOT[$1]}\\$UNINSTALL_KEY" | tr -d '\r'
  association "${ROOT[$1]}"
}

# zeltool.exe runs where it was installed, and the read-me lists each of its commands.
read_me_lists_commands() {
  local usages usage
  usages=$(wine "$1/zeltool.exe" --help | tr -d '\r' | grep '^  zeltool [a-z]') || return 1
  while read -r usage; do
    grep -qF "  $usage  -  " "$1/ReadMe.txt" || return 1
  done <<<"$usages"
}

started_from() {
  zel_start_program "$E2E_LOG" "$1/zelusb.exe" &&
    wait_for_log "- ZEL USB -" && [ "$(log_text | head -n 1)" = "- ZEL USB -" ] &&
    [ "$(zel_drive title)" = "ZEL USB 1.41" ]
}

# A program the shell started (not ours to wait for) closes through File > Exit.
close_program() { zel_drive menu 40002 && zel_drive message-box yes >/dev/null && zel_drive wait-gone; }

# process_ids NAME: the Windows process ids of the running processes of that
# name, each with its parent's: "ID PARENT" a line.
process_ids() {
  wine wmic process get Name,ParentProcessId,ProcessId 2>/dev/null | iconv -f UTF-16 -t UTF-8 | tr -d '\r' |
    awk -v name="$1" '$1 == name { print $3, $2 }'
}
no_process() { [ -z "$(process_ids "$1")" ]; }

quiet_uninstall_string() { read_entry "${ROOT[$1]}" && entry_value QuietUninstallString; }

# run_quiet_uninstall MODE: runs the entry's QuietUninstallString, a quoted
# program and its options. The uninstaller runs again from a temporary copy
# (Un.exe) and returns at once.
run_quiet_uninstall() {
  [[ $(quiet_uninstall_string "$1") =~ ^\"([^\"]+)\"\ (.*)$ ]] || return 1
  # shellcheck disable=SC2086  # the options, one word each
  wine "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]}
}

# uninstall_in_place MODE: the QuietUninstallString run where the uninstaller
# is (_?=), so that it is waited for and its exit code seen. Through cmd: the
# uninstaller takes _?= only unquoted, and wine would quote it.
uninstall_in_place() {
  local script=$E2E_OUT/uninstall-in-place.bat
  printf '@%s _?=%s\r\n@exit /b %%errorlevel%%\r\n' "$(quiet_uninstall_string "$1")" "${DIR[$1]}" >"$script"
  wine cmd /c "$(windows_path "$script")" >/dev/null 2>&1
}

fails() { ! "$@"; }

# The uninstaller's temporary copy has ended, and the install is as it was before.
copy_ended_unchanged() { eventually no_process Un.exe && [ "$(install_state AllUsers)" = "$before" ]; }

# The installer's window: its first page's caption, and the later pages', to
# which each adds a blank caption of its own.
readonly SETUP_FIRST='ZEL USB 1.41 Setup' SETUP_LATER='ZEL USB 1.41 Setup '

# The installer's page: "welcome", the header of a later page, "finish", or
# nothing without the window.
setup_page() {
  local windows
  windows=$(zel_drive windows)
  if grep -qF "\"$SETUP_LATER\"" <<<"$windows"; then
    if [ "$(zel_drive text "$SETUP_LATER" 1)" = '&Finish' ]; then echo finish; else zel_drive text "$SETUP_LATER" 0x40D; fi
  elif grep -qF "\"$SETUP_FIRST\"" <<<"$windows"; then
    echo welcome
  fi
}

# next_page FROM TO: presses Next on the page FROM until the page TO shows (up
# to 15 s). A press that lands while a page is still being set up is lost, so
# it is repeated, 5 s apart, while FROM still shows.
next_page() {
  local start=$SECONDS pressed=-5 shown
  while ((SECONDS - start < 15)); do
    shown=$(setup_page)
    [ "$shown" = "$2" ] && return 0
    if [ "$shown" = "$1" ] && ((SECONDS - pressed >= 5)); then
      if [ "$1" = welcome ]; then zel_drive press "$SETUP_FIRST" 1; else zel_drive press "$SETUP_LATER" 1; fi
      pressed=$SECONDS
    fi
    sleep 0.1
  done
  return 1
}

ended() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null)
  [ -z "$state" ] || [[ $state == Z* ]]
}

# install_through_pages: the installer with its window, Next on each page, and
# Finish with "Start ZEL USB now" left checked; the installer's Windows process
# id, then its parent's, in setup_ids.
setup_pid=
setup_ids=
install_through_pages() {
  wine "$setup" >/dev/null 2>&1 &
  setup_pid=$!
  next_page welcome 'Choose Users' && next_page 'Choose Users' 'Choose Install Location' &&
    next_page 'Choose Install Location' finish && setup_ids=$(process_ids "$(basename "$setup")") &&
    [ -n "$setup_ids" ] && next_page finish '' && eventually ended "$setup_pid" && wait "$setup_pid" &&
    setup_pid=
}
# An installer left running by a failed check is ended (ours, by its id).
end_setup() {
  [ -n "$setup_pid" ] || return 0
  kill "$setup_pid" 2>/dev/null
  wait "$setup_pid" 2>/dev/null
  setup_pid=
}

# Its parent is not the installer, which would have handed it the installer's token.
started_by_shell() {
  local ids
  # Up and idle, its first frame painted: a close asked sooner may wait past the driver's time.
  [ -n "$setup_ids" ] && zel_drive wait-main && zel_drive wait-colour 180 180 255 &&
    [ "$(zel_drive title)" = "ZEL USB 1.41" ] && ids=$(process_ids zelusb.exe) &&
    [ -n "$ids" ] && [ "${ids#* }" != "${setup_ids%% *}" ]
}

flights="$E2E_OUT/my flights"
mkdir -p "$flights"
cp "$ZEL_ROOT/tests/fuzz/corpus/load_data_set/flight.zel" "$flights/"

# Per machine, over the running program, upgraded, opening a flight, through its pages.
check "per machine: silent install succeeds" wine "$setup" /S
installed "per machine" AllUsers
machine_dir=$(unix_dir AllUsers)
check "per machine: the installed zeltool runs and the read-me lists its commands" read_me_lists_commands "$machine_dir"
check "per machine: the installed program starts, with its banner and main window" started_from "$machine_dir"
before=$(install_state AllUsers)
check "while it runs, a silent install over it fails" fails wine "$setup" /S
check "... and changes no file, shortcut, entry or association" [ "$(install_state AllUsers)" = "$before" ]
check "while it runs, the silent uninstall fails" fails uninstall_in_place AllUsers
check "... and changes nothing" [ "$(install_state AllUsers)" = "$before" ]
run_quiet_uninstall AllUsers
check "... nor does the entry's own, once its copy has ended" copy_ended_unchanged
check "per machine: the installed program closes through File > Exit" zel_exit_program

# An older version in its place: other files and version.
echo old >"$machine_dir/zelusb.exe"
echo old >"$machine_dir/ReadMe.txt"
wine reg add "HKLM\\$UNINSTALL_KEY" /v DisplayVersion /d 1.40 /f >/dev/null 2>&1
check "closed, a silent install over an older version succeeds" wine "$setup" /S
installed_over "per machine over an older version" AllUsers

# Bounded: without an association, start waits on a message box. Per machine
# only: Wine's shell reads no per-user classes.
check "a .zel file opened through the shell shows its flight in the installed program" \
  timeout 15 wine start /unix "$flights/flight.zel"
check "... drawn" more_than "$(pixel_count "$(screenshot_showing opened "$RED")" "$RED")" 1000
check "... and the program closes" close_program

check "an install through every page succeeds" install_through_pages
check "... and its finish page starts the installed program, through the shell" started_by_shell
check "... which closes" close_program
end_setup
installed_over "per machine, through the pages" AllUsers

check "per machine: QuietUninstallString runs the installed uninstaller silently in its mode" \
  [ "$(quiet_uninstall_string AllUsers)" = "\"${DIR[AllUsers]}\\uninstall.exe\" /AllUsers /S" ]
run_quiet_uninstall AllUsers
check "per machine: uninstall removes the entry, folder, shortcut and association" eventually nothing_installed AllUsers

# Per user, then one mode over the other.
check "per user: silent install succeeds" wine "$setup" /S /CurrentUser
installed "per user" CurrentUser
check "per machine over per user: silent install succeeds" wine "$setup" /S /AllUsers
installed_over "per machine over per user" AllUsers
check "per user over per machine: silent install succeeds" wine "$setup" /S /CurrentUser
installed_over "per user over per machine" CurrentUser
wine "$setup" /S /AllUsers
rm -rf "$machine_dir"
check "per user over a per-machine entry whose folder was deleted: silent install succeeds" \
  wine "$setup" /S /CurrentUser
installed_over "per user over a per-machine entry whose folder was deleted" CurrentUser

check "per user: QuietUninstallString runs the installed uninstaller silently in its mode" \
  [ "$(quiet_uninstall_string CurrentUser)" = "\"${DIR[CurrentUser]}\\uninstall.exe\" /CurrentUser /S" ]
# Another program takes .zel over.
wine reg add 'HKCU\Software\Classes\.zel' /ve /d Other.Type /f >/dev/null 2>&1
run_quiet_uninstall CurrentUser
check "per user: uninstall removes the entry, folder and shortcut" eventually no_entry_folder_or_shortcut CurrentUser
check "... and its file type, leaving .zel to the program that took it over" \
  [ "$(association HKCU)" = ".zel=Other.Type" ]

check "no file named after the program is left in the prefix" \
  [ -z "$(find "$WINEPREFIX/drive_c" -iname '*zel*' -print -quit)" ]
# Wine writes the registry out when its server ends.
check "no registry key or value names the program or its file type" \
  bash -c "timeout 30 wineserver -w && ! grep -qiE 'ZEL USB|$PROGID' '$WINEPREFIX/system.reg' '$WINEPREFIX/user.reg'"

e2e_finish
