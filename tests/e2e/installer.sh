#!/usr/bin/env bash
# The Windows packages (scripts/package.sh): the portable zip's contents, and
# the installer in a fresh Wine prefix of its own, per machine (the default
# when elevated, as Wine's user is) and per user (/CurrentUser): a silent
# install, its files, Start-menu shortcut and Add/Remove Programs entry, the
# installed program starting, and the entry's own silent uninstall leaving no
# file, shortcut or registry key behind.
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
readonly FILES=(zelusb.exe zeltool.exe ReadMe.txt)

mapfile -t packages < <(ZEL_BUILD=$ZEL_BUILD bash "$ZEL_ROOT/scripts/package.sh")
setup=${packages[0]:-}
portable=${packages[1]:-}
check "package.sh makes the installer and the portable zip" [ -f "$setup" -a -f "$portable" ]

zip_names() { python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$1"; }
check "the zip holds the program, zeltool and the read-me in one folder" \
  [ "$(zip_names "$portable")" = "$(printf 'zelusb-1.41/%s\n' '' ReadMe.txt zeltool.exe zelusb.exe)" ]
python3 -m zipfile -e "$portable" "$E2E_OUT/portable"
unpacked=$E2E_OUT/portable/zelusb-1.41

# entry_value NAME: one value of the entry last read into $entry.
entry_value() { sed -n "s/^ *$1 *REG_[A-Z_]* *//p" <<<"$entry"; }
read_entry() { entry=$(wine reg query "$1\\$UNINSTALL_KEY" 2>/dev/null | tr -d '\r'); }
no_entry() { ! wine reg query "$1\\$UNINSTALL_KEY" >/dev/null 2>&1; }

same_files() {
  local file
  for file in "${FILES[@]}" uninstall.exe; do [ -f "$1/$file" ] || return 1; done
  for file in "${FILES[@]}"; do cmp -s "$1/$file" "$unpacked/$file" || return 1; done
}

# The size in KiB of the files in a folder, as the installer adds it up.
kib_in() { find "$1" -type f -printf '%s\n' | awk '{ n += $1 } END { print int(n / 1024) }'; }
within_one() { [ "$1" -ge $(($2 - 1)) ] && [ "$1" -le $(($2 + 1)) ]; }

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

# run_quiet_uninstall COMMAND: runs an entry's QuietUninstallString, a quoted
# program and its options.
run_quiet_uninstall() {
  [[ $1 =~ ^\"([^\"]+)\"\ (.*)$ ]] || return 1
  # shellcheck disable=SC2086  # the options, one word each
  wine "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]}
}

# install_cycle LABEL MODE ROOT OTHER_ROOT DIR MENU [OPTION]: a silent install
# with OPTION, which must install in MODE (AllUsers or CurrentUser), write its
# entry under ROOT and none under OTHER_ROOT, the files into DIR and the
# shortcut into MENU (both Windows paths), then the entry's own silent uninstall.
install_cycle() {
  local label=$1 mode=$2 root=$3 other=$4 dir=$5 menu=$6
  shift 6
  local unix_dir unix_link
  unix_dir=$(winepath -u "$dir" 2>/dev/null)
  unix_link=$(winepath -u "$menu\\ZEL USB.lnk" 2>/dev/null)

  check "$label: silent install succeeds" wine "$setup" /S "$@"
  check "$label: installs the zip's files and the uninstaller into $dir" same_files "$unix_dir"
  check "$label: Start-menu shortcut to the program" grep -qaF "$dir\\zelusb.exe" "$unix_link"
  read_entry "$root"
  check "$label: DisplayName" [ "$(entry_value DisplayName)" = "ZEL USB" ]
  check "$label: DisplayVersion" [ "$(entry_value DisplayVersion)" = "1.41" ]
  check "$label: Publisher" [ -n "$(entry_value Publisher)" ]
  check "$label: DisplayIcon is the program's icon" [ "$(entry_value DisplayIcon)" = "$dir\\zelusb.exe,0" ]
  check "$label: EstimatedSize in KiB" within_one "$(($(entry_value EstimatedSize)))" "$(kib_in "$unix_dir")"
  check "$label: InstallLocation" [ "$(entry_value InstallLocation)" = "$dir" ]
  check "$label: nothing under the other root" no_entry "$other"

  if [ "$root" = HKLM ]; then
    check "$label: the installed zeltool runs and the read-me lists its commands" read_me_lists_commands "$unix_dir"
    check "$label: the installed program starts, with its banner and main window" started_from "$unix_dir"
    check "$label: ... and closes through File > Exit" zel_exit_program
  fi

  local quiet
  quiet=$(entry_value QuietUninstallString)
  check "$label: QuietUninstallString runs the installed uninstaller silently in its mode" \
    [ "$quiet" = "\"$dir\\uninstall.exe\" /$mode /S" ]
  # The uninstaller runs again from a temporary copy and returns at once.
  run_quiet_uninstall "$quiet"
  check "$label: uninstall removes the entry" eventually no_entry "$root"
  check "$label: ... the folder" eventually [ ! -e "$unix_dir" ]
  check "$label: ... and the shortcut" [ ! -e "$unix_link" ]
}

install_cycle "per machine" AllUsers HKLM HKCU 'C:\Program Files\ZEL USB' 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
profile="C:\\users\\$(id -un)"  # Wine names the profile after the Unix user
install_cycle "per user" CurrentUser HKCU HKLM "$profile\AppData\Local\Programs\ZEL USB" \
  "$profile\AppData\Roaming\Microsoft\Windows\Start Menu\Programs" /CurrentUser

check "no file named after the program is left in the prefix" \
  [ -z "$(find "$WINEPREFIX/drive_c" -iname '*zel*' -print -quit)" ]
# Wine writes the registry out when its server ends.
check "no registry key or value names the program" \
  bash -c "timeout 30 wineserver -w && ! grep -qi 'ZEL USB' '$WINEPREFIX/system.reg' '$WINEPREFIX/user.reg'"

e2e_finish
