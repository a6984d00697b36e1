# What the screen tests share, sourced once `winrun` and `velkctl` are set:
# the display, a work folder, velkctl as `ctl`, and the clean-up when the test
# ends (a player left running is closed, its settings are forgotten so the next
# ./velk run starts as a first start, and the work folder goes).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=${VELK_OUT:-$root/out}
if [ -z "${DISPLAY:-}" ] && [ -f "$out/display" ]; then export DISPLAY=$(cat "$out/display"); fi
mkdir -p "$out/screens"
work=$(mktemp -d)
pid=""
# The main window, found by its class: its title follows the playlist's current entry.
main_window="class:VelkSkinWnd"

ctl() { "$winrun" "$velkctl" "$@" | tr -d '\r'; }

finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    "$winrun" "$velkctl" close "$main_window" 10000 >/dev/null 2>&1
    kill "$pid" 2>/dev/null
  fi
  "$winrun" reg delete 'HKCU\Software\Velk' /f >/dev/null 2>&1
  rm -rf "$work"
}
trap finish EXIT
