# What the USB machine's guest scripts share: their start, bounded waits, the
# zelgadget gadgets driven through FIFOs, the hidraw nodes the host sees of
# them, and flight files held against a gadget's memory; `tool` runs ZELTOOL.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../../support/checks.sh"

readonly BLOCK_BYTES=64

# guest_begin OUT_DIR: takes OUT_DIR/guest.env, writes everything from here
# on to OUT_DIR/guest.log (the console is the kernel's; run.sh prints the
# log), and works in a fresh OUT_DIR/work.
guest_begin() {
  out=$1
  source "$out/guest.env"
  exec >"$out/guest.log" 2>&1
  work=$out/work
  rm -rf "$work" && mkdir -p "$work"
  echo "the machine booted in $(cut -d' ' -f1 /proc/uptime) s"
}

# wait_for SECONDS COMMAND...: until the command succeeds; false when it never did.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# in_background NAME COMMAND...: the command, 60 s at most, its output in
# $work/NAME.out and .err, and its status in $work/NAME.status once it ended.
in_background() {
  local name=$1
  shift
  rm -f "$work/$name.status"
  { timeout 60 "$@" >"$work/$name.out" 2>"$work/$name.err"; echo $? >"$work/$name.status"; } &
}
ended() { [ -s "$work/$1.status" ]; }
ended_with() { ended "$1" && [ "$(cat "$work/$1.status")" -eq "$2" ]; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }
seconds_since() { awk -v ms=$(($(now_ms) - $1)) 'BEGIN { printf "%.2f", ms / 1000 }'; }

# ---- The gadgets: one zelgadget per controller, its commands through a FIFO
# (tmpfs: the shared folders take none) and its answers in a file.
declare -a sent

gadget_start() {
  local k=$1 fifo=/tmp/zelgadget$1
  mkfifo "$fifo"
  : >"$work/gadget$k.answers"  # there before the first answer is looked for
  { "$ZELGADGET" "dummy_udc.$k" "zel$k" <"$fifo" >"$work/gadget$k.answers" 2>"$work/gadget$k.err"
    echo $? >"$work/gadget$k.status"; } &
  eval "exec $((10 + k))>$fifo"
  sent[$k]=0
}

# Read without a grep: under the emulated processor every process started costs.
answered() {
  local line
  while IFS= read -r line; do
    [[ $line == "ok $2 "* || $line == "error $2 "* ]] && return 0
  done <"$work/gadget$1.answers"
  return 1
}

# gadget K COMMAND...: sends the command and waits for its answer; true when it is ok.
gadget() {
  local k=$1
  shift
  echo "$*" >&$((10 + k))
  sent[$k]=$((sent[$k] + 1))
  wait_for 20 answered "$k" "${sent[$k]}" && grep -q "^ok ${sent[$k]} " "$work/gadget$k.answers"
}

# The text of gadget K's last answer.
last_answer() { sed -n "s/^ok ${sent[$1]} [^:]*: //p" "$work/gadget$1.answers"; }

# counts K: from_host and to_host become the reports gadget K moved since it was plugged in.
counts() {
  from_host=0 to_host=0
  gadget "$1" counts && read -r from_host to_host < <(last_answer "$1" | sed 's/from-host \([0-9]*\) to-host \([0-9]*\)/\1 \2/')
}
milliseconds_as_seconds() { awk -v ms="$1" 'BEGIN { printf "%.2f", ms / 1000 }'; }

gadget_stop() {
  gadget "$1" quit
  eval "exec $((10 + $1))>&-"
  wait_for 10 ended "gadget$1"
}

# ---- What the host sees: hidraw nodes of the altimeter on controller K.
# hidraw_of K PRODUCT: the node of the altimeter with that product ID (0001, 0002) on dummy_hcd.K.
hidraw_of() {
  local uevent line id="" phys=""
  for uevent in /sys/class/hidraw/hidraw*/device/uevent; do
    [ -f "$uevent" ] || continue
    while IFS= read -r line; do
      case $line in HID_ID=*) id=${line#HID_ID=} ;; HID_PHYS=*) phys=${line#HID_PHYS=} ;; esac
    done <"$uevent"
    [ "$id" = "0003:000003DB:0000$2" ] && [[ $phys == usb-dummy_hcd.$1-* ]] || continue
    local node=${uevent%/device/uevent}
    node=/dev/${node##*/}
    [ -c "$node" ] && echo "$node" && return 0
  done
  return 1
}
present() { hidraw_of "$1" "$2" >/dev/null; }
absent() { ! present "$1" "$2"; }

# identity K PRODUCT RELEASE: the hidraw node of that product on dummy_hcd.K
# is there, and the USB device it belongs to (its interface's parent) says
# vendor 03db, that product and that release.
identity() {
  local node usb
  node=$(hidraw_of "$1" "$2") || return 1
  usb=/sys/class/hidraw/${node#/dev/}/device/../..
  [ "$(cat "$usb/idVendor" "$usb/idProduct" "$usb/bcdDevice" 2>/dev/null | tr '\n' :)" = "03db:$2:$3:" ]
}

# plug K MODE VERSION PRODUCT: plugs gadget K in, or switches its mode, and
# waits until the host has let the other mode's device go and sees this one.
# (After a pull-out, wait for the device to be gone before plugging it again.)
plug() {
  gadget "$1" plug "$2" "$3" && wait_for 20 absent "$1" "$(other_product "$4")" &&
    wait_for 20 identity "$1" "$4" "${3#0x}"
}
other_product() { [ "$1" = 0002 ] && echo 0001 || echo 0002; }

# ---- zeltool, with what it said kept apart by name.
# tool NAME ARGS...: runs zeltool, its output in $work/NAME.out and .err.
tool() {
  local name=$1
  shift
  timeout 60 "$ZELTOOL" "$@" >"$work/$name.out" 2>"$work/$name.err"
}
said() { grep -q -- "$2" "$work/$1.$3"; }
out_has() { said "$1" "$2" out; }
err_has() { said "$1" "$2" err; }

# The packets of the flight files given, one after another: each file's count
# is the little-endian word after the magic and four version words (bytes 25
# and 26), its packets follow.
packets_of() {
  local file count
  for file in "$@"; do
    count=$(od -An -tu2 -j24 -N2 "$file" | tr -d ' ')
    tail -c +27 "$file" | head -c $((count * BLOCK_BYTES))
  done
}

# flights_match DIR DUMP: DIR's flight files hold DUMP's first blocks in
# order, whole flights only (the next block of DUMP starts a flight, is
# erased or is past the end), and at least one.
flights_match() {
  local files=()
  mapfile -t files < <(ls "$1"/flight-*.zel 2>/dev/null | sort -V)
  [ ${#files[@]} -gt 0 ] || return 1
  packets_of "${files[@]}" >"$1.packets"
  local size
  size=$(stat -c %s "$1.packets")
  cmp -s -n "$size" "$1.packets" "$2" || return 1
  [ "$size" -eq "$(stat -c %s "$2")" ] || [[ $(od -An -tu1 -j "$size" -N1 "$2" | tr -d ' ') =~ ^(2|255)$ ]]
}
