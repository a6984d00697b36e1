#!/usr/bin/env bash
# The player as a user drives it with the real X pointer: the play button on
# the skin starts the first entry (the title shows it), the playing time on the
# screen changes while it plays, a row dragged down reorders the playlist, a
# double-clicked row plays, and the right button over the list opens its menu.
# The player runs from a folder of its own, so its automatic playlist is the
# test's. Screenshots are left in out/screens/.
#   PlaylistScreenE2E.sh WINERUN BIN_DIR VELKCTL_EXE VELKMEDIA
set -uo pipefail
winrun=$1 bin=$2 velkctl=$3 velkmedia=$4
source "$(dirname "${BASH_SOURCE[0]}")/ScreenTest.sh"
target=$main_window
fail_shot=playlist-e2e-failed.png
mkdir -p "$work/player"

# shot NAME X Y W H: a screenshot, and the window's area at (X, Y) cut out of it.
shot() {
  import -window root "$out/screens/playlist-e2e-$1.png" 2>/dev/null &&
    convert "$out/screens/playlist-e2e-$1.png" -crop "$4x$5+$((left + $2))+$((top + $3))" +repage "$work/$1.png"
}

cp "$bin/Velk.exe" "$work/player/" || fail "no player to copy"
for n in a b c; do "$velkmedia" wav "$work/player/$n.wav" 30000 || fail "cannot write $n.wav"; done
printf 'a.wav\r\nb.wav\r\nc.wav\r\n' > "$work/player/velk.m3u"

# 400 × 300 at (100, 100); no current entry, so the title starts as the program's.
cat > "$work/start.reg" <<'REG'
REGEDIT4

[-HKEY_CURRENT_USER\Software\Velk]

[HKEY_CURRENT_USER\Software\Velk\Qorn mediaplayer]
"left"=dword:00000064
"top"=dword:00000064
"right"=dword:000001f4
"bottom"=dword:00000190

[HKEY_CURRENT_USER\Software\Velk\playlist]
"curtrack"=dword:00000063
REG
load_settings

"$winrun" "$work/player/Velk.exe" &
pid=$!
ctl wait-window "$target" 20000 >/dev/null || fail "the main window did not show"
left=100 top=100 width=400 height=300
wait_main title "Qorn mediaplayer" || fail "the player started with a current entry"

# The play button: 8 × 6 at 134 from the right, 15 from the bottom.
xdotool mousemove $((left + width - 130)) $((top + height - 12)) click 1
wait_main title "a.wav" || fail "the play button did not play the first entry"

# The playing time (34 × 6 at 88 from the right, 15 from the bottom) changes.
sleep 1.5
shot playing-1 $((width - 88)) $((height - 15)) 34 6 || fail "no screenshot"
sleep 2.2
shot playing-2 $((width - 88)) $((height - 15)) 34 6 || fail "no screenshot"
ae=$(compare -metric AE "$work/playing-1.png" "$work/playing-2.png" null: 2>&1)
[ "${ae%% *}" != "0" ] || fail "the playing time did not change on the screen"

# Row 0 dragged below the last row becomes the last row.
xdotool mousemove $((left + 60)) $((top + 26)) mousedown 1
for s in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove $((left + 60)) $((top + 26 + 10 * s))
  sleep 0.05
done
xdotool mouseup 1
sleep 0.5

# A double-click on row 0, now b.wav, plays it.
xdotool mousemove $((left + 60)) $((top + 26)) click --repeat 2 --delay 80 1
wait_main title "b.wav" || fail "the double-clicked row did not play"
shot rows 12 20 $((width - 24)) 60 || fail "no screenshot"

# The right button over the list opens the playlist's menu.
xdotool mousemove $((left + 60)) $((top + 26)) click 3
ctl wait-menus 1 10000 >/dev/null || fail "the playlist menu did not open"
import -window root "$out/screens/playlist-e2e-menu.png" 2>/dev/null
xdotool key Escape

ctl close "$target" 20000 >/dev/null || fail "the player did not close"
wait "$pid"
rc=$?
pid=""
[ "$rc" = 0 ] || fail "the player ended with exit code $rc"
got=$(tr -d '\r' < "$work/player/velk.m3u" | paste -sd ' ')
[ "$got" = "b.wav c.wav a.wav" ] || fail "the dragged order was not kept: '$got'"
echo "playlist screen e2e passed"
