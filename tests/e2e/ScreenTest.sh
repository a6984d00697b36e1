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

# fail MESSAGE: ends the test, leaving the last screenshot (or a new one) as
# out/screens/$fail_shot.
fail_shot=screen-e2e-failed.png
fail() {
  echo "FAIL: $*" >&2
  if [ -f "$work/shot.png" ]; then
    cp "$work/shot.png" "$out/screens/$fail_shot"
  else
    import -window root "$out/screens/$fail_shot" 2>/dev/null
  fi
  exit 1
}

# known_wine_defect MAJOR REASON: true under that Wine release, noting the
# defect of Wine's own (shown without the player by tools/playprobe) that a
# check then leaves out; false elsewhere.
wine_major=$("$winrun" --version 2>/dev/null | sed -n 's/^wine-\([0-9]*\).*/\1/p')
known_wine_defect() {
  [ "$wine_major" = "$1" ] || return 1
  echo "KNOWN WINE $1 DEFECT: $2" >&2
}

# wait_main VERB WANTED: polls velkctl's VERB (rect, title) on the main window
# until it reads WANTED, for up to ten seconds.
wait_main() {
  local i got=""
  for i in $(seq 1 50); do
    got=$(ctl "$1" "$main_window" 5000)
    [ "$got" = "$2" ] && return 0
    sleep 0.2
  done
  echo "$1 reads '$got', wanted '$2'" >&2
  return 1
}

# Closes the player started in the background as $pid, as a user would; ends
# it when it does not close. Returns the player's exit status.
close_player() {
  local rc
  if ! ctl close "$main_window" 20000 >/dev/null; then
    kill "$pid" 2>/dev/null
    wait "$pid"
    pid=""
    return 1
  fi
  wait "$pid"
  rc=$?
  pid=""
  return $rc
}

# A screenshot of the whole screen into $work/shot.png.
shoot() { import -window root "$work/shot.png" 2>/dev/null; }

# picture_matches REF: the video window's picture ($video), on the last screenshot, is
# the reference frame (both reduced to 32 × 24, mean difference under 8 %).
picture_matches() {
  local rect l t r b diff
  rect=$(ctl picture "$video" 3000) || return 1
  read -r l t r b <<<"$rect"
  [ $((r - l)) -gt 8 ] && [ $((b - t)) -gt 8 ] || return 1
  convert "$work/shot.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage -resize '32x24!' "$work/got.png" &&
    convert "$1" -resize '32x24!' "$work/want.png" || return 1
  diff=$(compare -metric MAE "$work/got.png" "$work/want.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
  last_diff=$diff
  awk -v d="${diff:-1}" 'BEGIN { exit !(d < 0.08) }'
}
last_diff=""
# wait_picture REF WHAT: polls screenshots for up to eight seconds.
wait_picture() {
  local i
  for i in $(seq 1 16); do
    shoot && picture_matches "$1" && return 0
    sleep 0.5
  done
  fail "$2: the picture is not the file's own (difference ${last_diff:-none})"
}

# Imports $work/start.reg, the settings a test starts from.
load_settings() {
  "$winrun" regedit /S "Z:${work//\//\\}\\start.reg" || fail "cannot prepare the settings"
}

finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    "$winrun" "$velkctl" close "$main_window" 10000 >/dev/null 2>&1
    kill "$pid" 2>/dev/null
  fi
  "$winrun" reg delete 'HKCU\Software\Velk' /f >/dev/null 2>&1
  rm -rf "$work"
}
trap finish EXIT
