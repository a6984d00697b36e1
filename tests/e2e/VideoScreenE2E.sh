#!/usr/bin/env bash
# The video window as a user meets it: a generated clip with its .smi plays in
# the video window beside the main window; the screenshot shows the moving
# pattern inside the frame; in caption mode Window the strip below the picture
# shows white caption text while a caption is due and none after the "&nbsp;"
# caption; right-clicking the picture opens the context menu, whose Caption
# submenu switches to Overlay; the next start plays with the caption drawn
# white into the picture's bottom band by the overlay filter. Screenshots of
# both modes are left in out/screens/.
# Captions people can read, on a bright yellow 960 × 540 film that ffmpeg made,
# with its captions beside it as SAMI (a French line written with entities),
# SubRip or WebVTT: in the picture at 100 % each shows white glyphs at least
# 20 pixels tall edged in dark pixels; the SubRip captions show in the strip
# too. Screenshots: caption-overlay-50/100/full.png, caption-srt-overlay.png,
# caption-srt-strip.png.
#   VideoScreenE2E.sh WINERUN BIN_DIR VELKCTL_EXE VELKMEDIA
set -uo pipefail
winrun=$1 bin=$2 velkctl=$3 velkmedia=$4
source "$(dirname "${BASH_SOURCE[0]}")/ScreenTest.sh"
video="VideoWindow"
fail_shot=video-e2e-failed.png

stored() {
  "$winrun" reg query "HKCU\\Software\\Velk\\$video" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n 's/.*REG_DWORD[[:space:]]*//p'
}
# white X Y W H: how many (nearly) white pixels the last screenshot has there.
white() {
  convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage -fuzz 12% -fill black +opaque white \
    -colorspace Gray -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}
# field X Y W H: how many pixels there show the clip's dark blue field.
field() {
  convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage -fuzz 10% -fill white -opaque 'rgb(16,32,96)' \
    -fill black +opaque white -colorspace Gray -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}
# poll SECONDS CONDITION...: new screenshots until the condition holds.
poll() {
  local limit=$1 i
  shift
  for i in $(seq 1 $((limit * 4))); do
    shoot && "$@" && return 0
    sleep 0.25
  done
  return 1
}

# The player runs from a folder of its own with the overlay filter beside it,
# so its automatic playlist stays there.
mkdir -p "$work/player"
cp "$bin/Velk.exe" "$bin/Karvex.ax" "$work/player/" || fail "no player to copy"

# A 20 s clip with one caption from the start and its clearing at 4 s.
"$velkmedia" clip "$work" talk 200 0 "WWWW MMMM WWWW" 4000 "&nbsp;" >/dev/null || fail "cannot write the clip"
clip="Z:${work//\//\\}\\talk.avi"

# Main window at (100, 100), 300 × 300; the video window touching its right
# edge, 360 × 400; caption mode Window, ratio kept.
cat > "$work/start.reg" <<'REG'
REGEDIT4

[-HKEY_CURRENT_USER\Software\Velk]

[HKEY_CURRENT_USER\Software\Velk\Qorn mediaplayer]
"left"=dword:00000064
"top"=dword:00000064
"right"=dword:00000190
"bottom"=dword:00000190

[HKEY_CURRENT_USER\Software\Velk\VideoWindow]
"left"=dword:00000190
"top"=dword:00000064
"right"=dword:000002f8
"bottom"=dword:000001f4
"Caption"=dword:00000001
"KeepAR"=dword:00000001
REG
load_settings

# The inner area of a 360 × 400 video window is (12, 20)–(348, 392): 336 × 372.
# With the strip the 4:3 picture is limited by the width: 336 × 252 at y 35,
# and the strip below it from y 287 to 377. On the screen, offset by (400, 100):
pic_x=412 pic_y=135 pic_w=336 pic_h=252
strip_y=387 strip_h=90

"$winrun" "$work/player/Velk.exe" "$clip" &
pid=$!
ctl wait-window "$video" 20000 >/dev/null || fail "the video window did not show"
[ "$(ctl rect "$video" 5000)" = "400 100 760 500" ] || fail "the video window is not where it was placed"

pattern_moves() {
  [ "$(field $pic_x $pic_y $pic_w $pic_h)" -gt $((pic_w * pic_h / 2)) ] || return 1
  local crop="${pic_w}x${pic_h}+$pic_x+$pic_y" ae
  convert "$work/shot.png" -crop "$crop" +repage "$work/first.png"
  sleep 0.5
  shoot || return 1
  convert "$work/shot.png" -crop "$crop" +repage "$work/second.png"
  ae=$(compare -metric AE "$work/first.png" "$work/second.png" null: 2>&1)
  [ "${ae%% *}" -gt 1000 ] 2>/dev/null
}
poll 10 pattern_moves || fail "the picture does not show the moving pattern"

strip_has_text() { [ "$(white $pic_x $strip_y $pic_w $strip_h)" -gt 20 ]; }
strip_is_empty() { [ "$(white $pic_x $strip_y $pic_w $strip_h)" = "0" ]; }
poll 10 strip_has_text || fail "the strip shows no caption"
mkdir -p "$out/screens"
cp "$work/shot.png" "$out/screens/video-e2e-window.png"
# The caption is in the strip, not in the picture.
[ "$(white $pic_x $((pic_y + 20)) $pic_w $((pic_h - 20)))" = "0" ] || fail "caption text inside the picture in mode Window"
poll 10 strip_is_empty || fail "the strip was not cleared by the empty caption"

# Right-click on the picture itself: the renderer hands its input to the window.
xdotool mousemove $((pic_x + 150)) $((pic_y + 120)) click 3
ctl wait-menus 1 10000 || fail "right-clicking the picture opened no menu"
xdotool key c
ctl wait-menus 2 10000 || fail "the Caption submenu did not open"
xdotool key o
for i in $(seq 1 40); do
  [ "$(stored Caption)" = "0x2" ] && break
  sleep 0.25
done
[ "$(stored Caption)" = "0x2" ] || fail "Overlay was not chosen from the menu"
[ "$(ctl rect "$video" 5000)" = "400 100 760 410" ] || fail "leaving mode Window did not shrink the window by 90"
close_player || fail "the player ended with an error"
[ "$(stored KeepAR)" = "0x1" ] || fail "KeepAR was not kept"

# Next start in mode Overlay: the 336 × 252 picture at the same place; the
# caption is drawn into its bottom band until the empty caption clears it.
"$winrun" "$work/player/Velk.exe" "$clip" &
pid=$!
ctl wait-window "$video" 20000 >/dev/null || fail "the video window did not show again"
band_y=$((pic_y + pic_h * 3 / 4)) band_h=$((pic_h / 4))
band_has_text() { [ "$(white $pic_x $band_y $pic_w $band_h)" -gt 20 ]; }
band_is_empty() { [ "$(white $pic_x $band_y $pic_w $band_h)" = "0" ]; }
poll 10 band_has_text || fail "no overlaid caption in the picture's bottom band"
cp "$work/shot.png" "$out/screens/video-e2e-overlay.png"
poll 10 band_is_empty || fail "the overlaid caption was not cleared"
close_player || fail "the player ended with an error"

# --- Captions people can read -----------------------------------------------------------
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
line="Deux personnes ne venant la r&eacute;gion &amp; Tom"
for kind in smi srt vtt; do mkdir -p "$work/$kind"; done
ff -f lavfi -i "color=c=yellow:size=960x540:rate=10:duration=12" -c:v mpeg4 -q:v 3 -an "$work/smi/film.avi" ||
  fail "cannot make the yellow film"
ln "$work/smi/film.avi" "$work/srt/film.avi" && ln "$work/smi/film.avi" "$work/vtt/film.avi"
printf '<SAMI><BODY><SYNC Start=0><P Class=FRCC>%s</P><SYNC Start=11000><P Class=FRCC>&nbsp;</P></BODY></SAMI>\n' \
  "$line" > "$work/smi/film.smi"
printf '1\r\n00:00:00,000 --> 00:00:11,000\r\n<i>%s</i>\r\n' "$line" > "$work/srt/film.srt"
printf 'WEBVTT\n\nNOTE made for the test\n\ncue-1\n00:00.000 --> 00:11.000 align:center\n<v Anna>%s\n' "$line" \
  > "$work/vtt/film.vtt"

# band: the bottom quarter of the picture, a little inside its edges, from the
# last screenshot, in band.png: on the yellow film only a caption is white or dark.
band() {
  local rect l t r b
  rect=$(ctl picture "$video" 3000) || return 1
  read -r l t r b <<<"$rect"
  convert "$work/shot.png" -crop "$((r - l - 8))x$(((b - t) / 4 - 4))+$((l + 4))+$((b - (b - t) / 4))" +repage \
    "$work/band.png"
}
count() { # COLOUR FUZZ [FILE]: pixels of band.png (or FILE) near the colour
  convert "${3:-$work/band.png}" -fuzz "$2" -fill magenta -opaque "$1" -fuzz 0 -fill black +opaque magenta \
    -fill white -opaque magenta -colorspace Gray -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}
# legible [HEIGHT]: the caption's white glyphs, at least HEIGHT pixels tall on
# the screen, edged in dark pixels: around the white text (3 pixels beyond it)
# the yellow picture has none of its own.
legible() {
  band || return 1
  local w h x y
  read -r w h x y <<<"$(convert "$work/band.png" -fuzz 12% -fill black +opaque white -trim \
    -format '%w %h %[fx:page.x] %[fx:page.y]' info: 2>/dev/null)"
  [ "${h:-0}" -ge "${1:-1}" ] && [ "${w:-0}" -gt 8 ] || return 1
  x=$((x > 3 ? x - 3 : 0)) y=$((y > 3 ? y - 3 : 0))
  convert "$work/band.png" -crop "$((w + 6))x$((h + 6))+$x+$y" +repage "$work/text.png" || return 1
  [ "$(count white 12% "$work/text.png")" -gt 100 ] && [ "$(count black 20% "$work/text.png")" -gt 100 ]
}
play_film() { # KIND MODE
  "$winrun" reg add 'HKCU\Software\Velk\VideoWindow' /v Caption /t REG_DWORD /d "$2" /f >/dev/null 2>&1
  "$winrun" "$work/player/Velk.exe" "Z:${work//\//\\}\\$1\\film.avi" &
  pid=$!
  ctl wait-window "$video" 20000 >/dev/null || fail "$1: the video window did not show"
  ctl command "$video" 32775 5000 >/dev/null || fail "$1: no 100 % command"
}
# The video window in the top-left corner, where a 960 × 540 picture fits
# whole, the main window below it.
cat > "$work/start.reg" <<'REG'
REGEDIT4

[-HKEY_CURRENT_USER\Software\Velk]

[HKEY_CURRENT_USER\Software\Velk\Qorn mediaplayer]
"left"=dword:00000000
"top"=dword:00000258
"right"=dword:0000012c
"bottom"=dword:00000384

[HKEY_CURRENT_USER\Software\Velk\VideoWindow]
"left"=dword:00000000
"top"=dword:00000000
"right"=dword:00000168
"bottom"=dword:00000190
"KeepAR"=dword:00000001
REG
load_settings
for kind in smi srt vtt; do
  play_film "$kind" 2
  poll 10 legible 20 ||
    fail "$kind: no legible caption in the picture at 100 % (white $(count white 12% "$work/text.png"), dark $(count black 20% "$work/text.png"))"
  case $kind in
    smi)
      cp "$work/shot.png" "$out/screens/caption-overlay-100.png"
      for step in 32774:50 32777:full; do
        ctl command "$video" "${step%%:*}" 5000 >/dev/null
        poll 10 legible || fail "no legible caption at ${step##*:}"
        cp "$work/shot.png" "$out/screens/caption-overlay-${step##*:}.png"
      done ;;
    srt) cp "$work/shot.png" "$out/screens/caption-srt-overlay.png" ;;
  esac
  close_player || fail "$kind: the player ended with an error"
done
# The SubRip caption in the strip below the picture.
play_film srt 1
srt_strip() {
  local rect l t r b
  rect=$(ctl picture "$video" 3000) || return 1
  read -r l t r b <<<"$rect"
  [ "$(white "$l" "$b" $((r - l)) 60)" -gt 50 ]
}
poll 10 srt_strip || fail "srt: the strip shows no caption"
cp "$work/shot.png" "$out/screens/caption-srt-strip.png"
close_player || fail "srt: the player ended with an error"

# A 720p film at 100 % and 200 % on this 1280 x 1024 screen: the window stays
# within the screen, its title strip and dots in reach, the picture 16:9.
ff -f lavfi -i "testsrc2=size=1280x720:rate=10:duration=8" -c:v mpeg4 -q:v 4 -an "$work/wide.avi" ||
  fail "cannot make the 720p film"
"$winrun" "$work/player/Velk.exe" "Z:${work//\//\\}\\wide.avi" &
pid=$!
ctl wait-window "$video" 20000 >/dev/null || fail "720p: the video window did not show"
for size in 32775:100 32776:200; do
  ctl command "$video" "${size%%:*}" 5000 >/dev/null || fail "720p: no ${size##*:} % command"
  sleep 1
  read -r l t r b <<<"$(ctl rect "$video" 5000)"
  [ "$l" -ge 0 ] && [ "$t" -ge 0 ] && [ "$r" -le 1280 ] && [ "$b" -le 1024 ] ||
    fail "720p at ${size##*:} %: the window ($l $t $r $b) leaves the screen"
  read -r pl pt pr pb <<<"$(ctl picture "$video" 3000)"
  awk -v w=$((pr - pl)) -v h=$((pb - pt)) 'BEGIN { exit !(w > 1000 && (w * 9 - h * 16) ^ 2 < (3 * 16) ^ 2) }' ||
    fail "720p at ${size##*:} %: the picture is $((pr - pl)) x $((pb - pt))"
done
shoot && cp "$work/shot.png" "$out/screens/video-720p-200.png"
close_player || fail "720p: the player ended with an error"
echo "video screen e2e passed"
