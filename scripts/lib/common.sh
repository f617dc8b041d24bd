# Shared by the scripts: the repository root, package installation, builds.
# shellcheck shell=bash
ZEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
ZEL_BUILD=${ZEL_BUILD:-$ZEL_ROOT/build}

zel_log() { printf '== %s\n' "$*" >&2; }

# Installs the Debian packages named, those that are missing only.
zel_require_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  zel_log "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The pages' fonts: Liberation Sans, DejaVu Sans for Hebrew and Arabic,
# WenQuanYi Micro Hei for Chinese and Japanese.
zel_require_build_tools() {
  zel_require_packages cmake make g++ libgtest-dev googletest libbenchmark-dev \
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 clang libclang-rt-14-dev \
    libhidapi-dev pkg-config libcairo2-dev libpango1.0-dev poppler-utils \
    fonts-liberation fonts-dejavu-core fonts-wqy-microhei
}

zel_require_wine() {
  zel_require_packages wine wine64 xvfb xauth x11-utils imagemagick fonts-liberation fonts-wine
}

# The Windows installer compiler and zip, for scripts/package.sh.
zel_require_packaging() { zel_require_packages nsis zip; }

# QEMU, Debian's kernel with its modules, busybox, and udevd for the machine's Wine, for scripts/usb-vm.sh.
zel_require_vm() { zel_require_packages qemu-system-x86 linux-image-amd64 busybox-static cpio udev; }

# zel_build NAME [cmake options...]: configures (once) and builds build/NAME.
zel_build() {
  local name=$1
  shift
  local dir=$ZEL_BUILD/$name
  mkdir -p "$ZEL_BUILD"
  # Configured every time (quick when nothing changed): a target added since
  # the last configuration is otherwise unknown to a build that names it.
  local options=("$@")
  [ -f "$dir/CMakeCache.txt" ] && options=()
  cmake -S "$ZEL_ROOT" -B "$dir" "${options[@]}" >"$ZEL_BUILD/$name.configure.log" 2>&1 ||
    { cat "$ZEL_BUILD/$name.configure.log" >&2; return 1; }
  cmake --build "$dir" -j"$(nproc)" ${ZEL_TARGETS:+--target $ZEL_TARGETS} >"$ZEL_BUILD/$name.build.log" 2>&1 ||
    { grep -E 'error|Error' "$ZEL_BUILD/$name.build.log" | head -40 >&2; return 1; }
}

zel_build_native() { zel_build native-asan -DCMAKE_BUILD_TYPE=Debug -DZEL_SANITIZE=ON; }
zel_build_windows() {
  zel_build mingw -DCMAKE_TOOLCHAIN_FILE="$ZEL_ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release
}
