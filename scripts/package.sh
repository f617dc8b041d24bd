#!/usr/bin/env bash
# Packs the Windows build of the program and zeltool, with a read-me, into an
# installer (NSIS, packaging/windows/zelusb.nsi) and a portable zip:
# build/package/zelusb-VERSION-setup.exe and zelusb-VERSION-portable.zip.
# Prints their paths.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$ZEL_ROOT/scripts/lib/wine.sh"

zel_require_build_tools
zel_require_wine
zel_require_packaging
ZEL_TARGETS="zelusb zeltool" zel_build_windows

# The version the program shows, from its one definition (0x0141 is 1.41).
version=$(sed -n 's/^constexpr uint16_t kSoftwareVersion = 0x0*\([0-9a-f]\)\([0-9a-f][0-9a-f]\);$/\1.\2/p' \
  "$ZEL_ROOT/data/Version.h")
[ -n "$version" ] || { zel_log "no kSoftwareVersion in data/Version.h"; exit 1; }

out=$ZEL_BUILD/package
stage=$out/zelusb-$version
setup=$out/zelusb-$version-setup.exe
portable=$out/zelusb-$version-portable.zip
rm -rf "$stage" "$setup" "$portable"
mkdir -p "$stage"

# Without their debug sections the programs are a fraction of the size.
x86_64-w64-mingw32-strip -o "$stage/zelusb.exe" "$ZEL_BUILD/mingw/app/zelusb.exe"
x86_64-w64-mingw32-strip -o "$stage/zeltool.exe" "$ZEL_BUILD/mingw/tools/zeltool.exe"
# The read-me lists zeltool's commands as the shipped zeltool.exe lists them,
# one line each, and has CR LF line ends, so that Notepad on any Windows shows the lines.
zel_init_wine_prefix
wine "$stage/zeltool.exe" --help | tr -d '\r' |
  awk '/^  zeltool --help$/ { exit } /^  zeltool / { usage = $0; next } /^      / { sub(/^ +/, ""); print usage "  -  " $0 }' \
    >"$out/zeltool-commands.txt"
[ -s "$out/zeltool-commands.txt" ] || { zel_log "zeltool.exe --help listed no commands"; exit 1; }
sed -e "s/@VERSION@/$version/" -e "/^@ZELTOOL_COMMANDS@\$/{r $out/zeltool-commands.txt" -e 'd}' \
  "$ZEL_ROOT/packaging/windows/ReadMe.txt" | sed 's/$/\r/' >"$stage/ReadMe.txt"

makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$ZEL_ROOT/resources/program.ico" \
  -DOUTFILE="$setup" "$ZEL_ROOT/packaging/windows/zelusb.nsi" >"$out/makensis.log" 2>&1 ||
  { cat "$out/makensis.log" >&2; exit 1; }
(cd "$out" && zip -q -r -X "$portable" "$(basename "$stage")")

echo "$setup"
echo "$portable"
