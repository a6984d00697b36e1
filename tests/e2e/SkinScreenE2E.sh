#!/usr/bin/env bash
# The skinned main window as a user meets it: a screenshot shows the base skin's
# frame pieces where they belong, a skin chosen from the right-button menu
# repaints the window with that picture, the resize grip dragged with the real
# pointer stops at the smallest size, the title strip dragged moves the window,
# and placement and skin are kept when the player closes. Screenshots of both
# skins are left in out/screens/.
#   SkinScreenE2E.sh WINERUN BIN_DIR VELKCTL_EXE BASE_SKIN_BMP
set -uo pipefail
winrun=$1 bin=$2 velkctl=$3 skin=$4
source "$(dirname "${BASH_SOURCE[0]}")/ScreenTest.sh"
title=$main_window
fail_shot=skin-e2e-failed.png

# same_area X Y W H PX PY: the window's area at (X, Y) shows the skin picture's area at (PX, PY).
same_area() {
  convert "$work/shot.png" -crop "$3x$4+$((left + $1))+$((top + $2))" +repage "$work/a.png" &&
    convert "$picture" -crop "$3x$4+$5+$6" +repage "$work/b.png" || return 1
  local ae
  ae=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)
  [ "${ae%% *}" = "0" ]
}
# The frame of a 300 × 200 window in $picture; the title pieces either active or inactive.
frame_shown() {
  import -window root "$work/shot.png" 2>/dev/null || return 1
  { same_area 0 0 25 20 0 0 || same_area 0 0 25 20 0 21; } &&
    { same_area 100 0 100 20 26 0 || same_area 100 0 100 20 26 21; } &&
    same_area 0 20 12 29 0 42 &&                # left edge, first row
    same_area 288 20 12 29 39 42 &&             # right edge
    same_area 0 162 12 38 0 72 &&               # bottom-left end, left of the buttons
    same_area 150 162 150 10 126 72 &&          # bottom-right end with its buttons, above the volume bar
    same_area 246 162 54 38 222 72 &&           # and right of the volume bar and the playing time
    same_area 124 162 25 38 179 0               # a tile of the bottom fill
}

# A first start at a known place: 300 × 200 at (100, 100).
cat > "$work/start.reg" <<'REG'
REGEDIT4

[-HKEY_CURRENT_USER\Software\Velk]

[HKEY_CURRENT_USER\Software\Velk\Qorn mediaplayer]
"left"=dword:00000064
"top"=dword:00000064
"right"=dword:00000190
"bottom"=dword:0000012c
REG
load_settings

"$winrun" "$bin/Velk.exe" &
pid=$!
ctl wait-window "$title" 20000 >/dev/null || fail "the main window did not show"
wait_main rect "100 100 400 300" || fail "the stored placement was not used"
left=100 top=100

# wait_frame NAME: polls screenshots until the frame of $picture shows, keeping the last one.
wait_frame() {
  local i
  mkdir -p "$out/screens"
  for i in $(seq 1 40); do
    if frame_shown; then
      cp "$work/shot.png" "$out/screens/skin-e2e-$1.png"
      return 0
    fi
    sleep 0.25
  done
  cp "$work/shot.png" "$out/screens/skin-e2e-$1-failed.png" 2>/dev/null
  return 1
}
picture=$skin
wait_frame base || fail "the screenshot does not show the base skin's frame"

# The right-button menu's "&Skin" submenu: its second item is the first skin file.
xdotool mousemove $((left + 5)) $((top + 100)) click 3
ctl wait-menus 1 10000 || fail "the right-button menu did not show"
xdotool key s
ctl wait-menus 2 10000 || fail "the skin submenu did not open"
xdotool key Down Return
chosen=""
for i in $(seq 1 50); do
  chosen=$("$winrun" reg query 'HKCU\Software\Velk\Qorn mediaplayer' /v SkinPathName 2>/dev/null | tr -d '\r' |
    sed -n 's/.*REG_SZ[[:space:]]*//p')
  [ -n "$chosen" ] && break
  sleep 0.2
done
[ -n "$chosen" ] || fail "no skin was chosen from the menu"
picture="$bin/Skins/${chosen##*\\}"
[ -f "$picture" ] || fail "the chosen skin '$chosen' is not in the Skins folder"
wait_frame switched || fail "the window was not repainted with $chosen"

# The grip (bottom-right 20 × 20) dragged far up and left stops at 200 × 58.
xdotool mousemove $((left + 292)) $((top + 192)) mousedown 1
for s in 1 2 3 4 5 6 7 8; do xdotool mousemove $((left + 292 - 50 * s)) $((top + 192 - 25 * s)); done
xdotool mouseup 1
wait_main rect "100 100 300 158" || fail "the grip drag did not stop at the smallest size"

# The title strip, away from the two dots, moves the window with the pointer.
xdotool mousemove $((left + 60)) $((top + 10)) mousedown 1
for s in 1 2 3 4 5; do xdotool mousemove $((left + 60 + 30 * s)) $((top + 10 + 24 * s)); done
xdotool mouseup 1
wait_main rect "250 220 450 278" || fail "the title drag did not move the window"

ctl close "$title" 20000 >/dev/null || fail "the player did not close"
wait "$pid"
rc=$?
pid=""
[ "$rc" = 0 ] || fail "the player ended with exit code $rc"
stored=$("$winrun" reg query 'HKCU\Software\Velk\Qorn mediaplayer' | tr -d '\r')
case "$stored" in
  *left*0xfa*) ;;
  *) fail "the placement was not stored: $stored" ;;
esac
case "$stored" in
  *"$chosen"*) ;;
  *) fail "the skin was not stored: $stored" ;;
esac
echo "skin screen e2e passed"
