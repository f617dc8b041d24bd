#!/usr/bin/env bash
# Builds zeltool for Linux without sanitizers (Release) and packs it as a
# Debian package with its man page, udev rule and bash completion:
# build/package/zeltool_VERSION_amd64.deb, whose path it prints. With
# --install it then installs the package (apt; `apt remove zeltool` removes it).
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

zel_require_build_tools
zel_require_packages dpkg-dev
ZEL_TARGETS=zeltool zel_build native-package -DCMAKE_BUILD_TYPE=Release -DZEL_TESTS=OFF
out=$ZEL_BUILD/package
mkdir -p "$out"
# cpack builds what the package installs (zeltool only) before packing it.
(cd "$ZEL_BUILD/native-package" && cpack -B "$out" >"$ZEL_BUILD/native-package.cpack.log" 2>&1) ||
  { cat "$ZEL_BUILD/native-package.cpack.log" >&2; exit 1; }
package=$(ls -t "$out"/zeltool_*.deb | head -n 1)
rm -rf "$out/_CPack_Packages"
if [ "${1:-}" = "--install" ]; then
  apt-get install -y -qq "$package" >/dev/null
fi
echo "$package"
