#!/usr/bin/env bash
# Keys as a user presses them, with the real X keyboard: Space pauses and
# resumes while the video window has the focus; the Esc that closes the
# picture's menu (which opens at the pointer) and the Esc that closes the
# options dialog leave playback running; Ctrl+C does not pause. "Running" is
# the playing time moving on the screen.
#   KeysE2E.sh WINERUN BIN_DIR VELKCTL_EXE
set -uo pipefail
winrun=$1 bin=$2 velkctl=$3
source "$(dirname "${BASH_SOURCE[0]}")/ScreenTest.sh"
video="VideoWindow"
fail_shot=keys-e2e-failed.png

mkdir -p "$work/player"
cp "$bin/Velk.exe" "$bin/Karvex.ax" "$work/player/" || fail "no player to copy"
ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "smptebars=size=320x240:rate=25:duration=60" \
  -f lavfi -i "sine=frequency=440:duration=60" -c:v mpeg4 -c:a libmp3lame "$work/clip.avi" ||
  fail "cannot make the clip"

# Main window at (0, 0), 300 × 300: its time area is (212, 285)–(246, 291).
cat > "$work/start.reg" <<'REG'
REGEDIT4

[-HKEY_CURRENT_USER\Software\Velk]

[HKEY_CURRENT_USER\Software\Velk\Qorn mediaplayer]
"left"=dword:00000000
"top"=dword:00000000
"right"=dword:0000012c
"bottom"=dword:0000012c
REG
load_settings

time_crop() { convert "$work/shot.png" -crop 34x6+212+285 +repage "$1" 2>/dev/null; }
# time_moves: the playing time changes within three seconds.
time_moves() {
  local i ae
  shoot && time_crop "$work/t0.png" || return 1
  for i in 1 2 3 4 5 6; do
    sleep 0.5
    shoot && time_crop "$work/t1.png" || return 1
    ae=$(compare -metric AE "$work/t0.png" "$work/t1.png" null: 2>&1)
    [ "${ae%% *}" -gt 0 ] 2>/dev/null && return 0
  done
  return 1
}
time_stands() { ! time_moves; }

"$winrun" "$work/player/Velk.exe" "Z:${work//\//\\}\\clip.avi" &
pid=$!
ctl wait-window "$video" 20000 >/dev/null || fail "the video window did not show"
time_moves || fail "the playing time does not run"
# A colon between the minutes and seconds fields (x 232-234): two dots at y 286
# and 289 in the skin's colour, the gap's own colour between them.
pixel() { convert "$work/shot.png" -format "%[pixel:p{$1,$2}]" info: 2>/dev/null; }
[ "$(pixel 233 286)" = "$(pixel 233 289)" ] && [ "$(pixel 233 286)" != "$(pixel 233 287)" ] ||
  fail "no separator between the minutes and the seconds"
convert "$work/shot.png" -crop 34x6+212+285 +repage -scale 800% "$out/screens/time-separator.png"

# The video window takes the focus; Space there pauses through the main window.
read -r l t r b <<<"$(ctl rect "$video" 5000)"
xdotool mousemove $((l + 60)) $((t + 8)) click 1
sleep 0.5
xdotool key space
sleep 0.5
time_stands || fail "Space in the video window did not pause"
xdotool key space
time_moves || fail "Space in the video window did not resume"
xdotool key ctrl+c
sleep 0.5
time_moves || fail "Ctrl+C paused the player"

# The picture's menu, closed with Esc: playback goes on.
read -r l t r b <<<"$(ctl picture "$video" 5000)"
xdotool mousemove $((l + 40)) $((t + 40)) click 3
ctl wait-menus 1 10000 || fail "no menu on the picture"
# It opens at the pointer, not displaced by the picture's place in the window.
read -r ml mt mr mb <<<"$(ctl menu-rect 3000)"
[ $((ml - l - 40)) -ge -2 ] && [ $((ml - l - 40)) -le 2 ] && [ $((mt - t - 40)) -ge -2 ] &&
  [ $((mt - t - 40)) -le 2 ] || fail "the picture's menu opened at $ml,$mt, not at the pointer $((l + 40)),$((t + 40))"
xdotool key Escape
sleep 0.5
time_moves || fail "the Esc that closed the menu stopped playback"

# The options dialog, closed with Esc: playback goes on.
ctl message "$main_window" 0x479 5000 || fail "cannot open the options dialog"
ctl wait-window "Qorn media player" 10000 || fail "the options dialog did not open"
sleep 0.5
xdotool key Escape
sleep 1
ctl rect "Qorn media player" 500 >/dev/null && fail "Esc did not close the options dialog"
[ "$(ctl title "$main_window" 5000)" = "clip.avi" ] || fail "the main window lost its item"
time_moves || fail "the Esc that closed the options dialog stopped playback"
cp "$work/shot.png" "$out/screens/keys-e2e.png"

# Resting the pointer on ADD shows its tooltip next to the pointer (its text,
# the action, its key and what its menu holds, is checked in the main window's
# test; Wine's tooltip does not give it to other processes).
xdotool mousemove 22 278
tip=$(ctl tip 5000) || fail "no tooltip over the ADD button"
read -r tl tt tr tb <<<"$(head -n1 <<<"$tip")"
[ "$tl" -ge 0 ] && [ "$tl" -le 60 ] && [ "$tt" -ge 250 ] && [ "$tt" -le 320 ] ||
  fail "the tooltip is at $tl,$tt, away from the pointer at 22,278"
shoot && cp "$work/shot.png" "$out/screens/tooltip-add.png"

close_player || fail "the player did not close cleanly"
echo "keys e2e passed"
