#!/usr/bin/env bash
# Korean captions as a Korean user meets them. A clip that ffmpeg made, named
# in Korean, with a SAMI file in Korean and English (the Korean class first),
# written in CP949 as Korean tools write it, plays in a Korean locale:
#  - in caption mode Window the strip below the picture, black before the
#    first caption, shows each caption, and two different captions look
#    different (boxes or marks for letters a font or code page lacks would
#    look alike);
#  - the strips are exactly those of the same captions read from UTF-8 with a
#    byte-order mark, so the CP949 bytes were read as the Korean letters;
#  - in mode Overlay, started through a playlist that a Korean program wrote
#    in CP949 (.m3u) and that names the clip by its Korean name, the captions
#    show in the picture.
# On a Western code page (C.UTF-8) the same UTF-8 captions show the same
# Hangul. Names in every script: files that ffmpeg made, named in Hangul,
# Greek and accented Latin, play from a UTF-8 playlist (.m3u8), from the
# command line and from a dropped folder, in either locale: the titles name
# them exactly, the film shows its own picture, the rows are not the marks a
# code page puts for what it lacks, and the automatic playlist keeps the names
# byte for byte (in UTF-8) over an exit and a restart.
# Screenshots: out/screens/korean-strip.png, korean-overlay.png,
# korean-strip-western.png and names-mixed.png.
#   KoreanCaptionsE2E.sh WINERUN BIN_DIR VELKCTL_EXE
set -uo pipefail
winrun=$1 bin=$2 velkctl=$3
source "$(dirname "${BASH_SOURCE[0]}")/ScreenTest.sh"
video="VideoWindow"
fail_shot=korean-e2e-failed.png

korean=ko_KR.UTF-8
locale -a 2>/dev/null | grep -qix 'ko_KR.utf8' || fail "no $korean locale (./velk makes it)"
# use_locale NAME: what follows runs in that locale, as "LANG=NAME ./velk run" would.
use_locale() {
  unset LC_ALL LC_CTYPE LC_MESSAGES
  export LANG=$1
}

mkdir -p "$work/player"
cp "$bin/Velk.exe" "$bin/Karvex.ax" "$work/player/" || fail "no player to copy"
winpath() { echo "Z:${1//\//\\}"; }

# A still field, so that only captions change the picture, in MPEG-4 as a
# film would be: the overlay goes between the decoder and the renderer.
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
ff -f lavfi -i "color=c=0x203060:size=320x240:rate=5:duration=16" -c:v mpeg4 -q:v 2 -an \
  "$work/clip.avi" || fail "cannot make the clip"

# sami CLASS...: the captions, cleared at the start, the first at 4 s, cleared
# at 7 s, the second at 8.5 s, cleared at 11.5 s. Each CLASS is
# CLASS:NAME:LANG:FIRST:SECOND; without a CLASS the paragraphs have no class.
sami() {
  local track f at text
  echo '<SAMI><HEAD><TITLE>자막 시험</TITLE><STYLE TYPE="text/css"><!--'
  echo 'P { margin-left: 8pt; margin-right: 8pt; text-align: center; }'
  for track in "$@"; do
    IFS=: read -r -a f <<<"$track"
    [ ${#f[@]} -eq 5 ] || fail "a caption class is CLASS:NAME:LANG:FIRST:SECOND, not $track"
    [ -n "${f[0]}" ] && echo ".${f[0]} { Name:${f[1]}; lang:${f[2]}; SAMIType:CC; }"
  done
  echo '--></STYLE></HEAD><BODY>'
  for at in 0:- 4000:3 7000:- 8500:4 11500:-; do
    printf '<SYNC Start=%s>' "${at%%:*}"
    for track in "$@"; do
      IFS=: read -r -a f <<<"$track"
      case ${at##*:} in 3 | 4) text=${f[${at##*:}]} ;; *) text="&nbsp;" ;; esac
      printf '<P%s>%s</P>' "${f[0]:+ Class=${f[0]}}" "$text"
    done
    echo
  done
  echo '</BODY></SAMI>'
}
two_languages=("KRCC:Korean:ko-KR:안녕하세요:감사합니다" "ENCC:English:en-US:Hello:Thank you")
name="자막 시험"
place() { # FOLDER: the clip under its Korean name in a folder of its own
  mkdir -p "$work/$1" && ln "$work/clip.avi" "$work/$1/$name.avi"
}
place cp949 && sami "${two_languages[@]}" | iconv -f UTF-8 -t CP949 > "$work/cp949/$name.smi" ||
  fail "cannot write the CP949 captions"
place marked && { printf '\xEF\xBB\xBF'; sami "${two_languages[@]}"; } > "$work/marked/$name.smi"
place unmarked && sami "${two_languages[@]}" > "$work/unmarked/$name.smi"
# The playlist names the clip by its Korean name, in CP949 as a Korean
# program of before UTF-8 wrote it.
printf '#EXTM3U\r\n%s.avi\r\n' "$name" | iconv -f UTF-8 -t CP949 > "$work/cp949/list.m3u" ||
  fail "cannot write the CP949 playlist"

# Names in three scripts, and the film's captions beside it by the same name.
mixed=("사랑.mp3" "Ωμέγα.avi" "café Ünïcödé.mp3")
mkdir -p "$work/mixed" "$work/dropped"
ff -f lavfi -i "sine=frequency=440:duration=2" -c:a libmp3lame "$work/mixed/${mixed[0]}" &&
  ff -f lavfi -i "smptebars=size=320x240:rate=25:duration=4" -c:v mpeg4 -q:v 3 -an "$work/mixed/${mixed[1]}" &&
  ff -f lavfi -i "sine=frequency=660:duration=2" -c:a libmp3lame "$work/mixed/${mixed[2]}" &&
  ff -ss 1 -i "$work/mixed/${mixed[1]}" -frames:v 1 "$work/omega-ref.png" || fail "cannot make the mixed files"
for f in "${mixed[@]}"; do ln "$work/mixed/$f" "$work/dropped/$f"; done
printf '<SAMI><BODY><SYNC Start=0><P>오메가 Ωμέγα café</P></BODY></SAMI>\n' > "$work/mixed/Ωμέγα.smi"
printf '#EXTM3U\r\n%s\r\n%s\r\n%s\r\n' "${mixed[@]}" > "$work/mixed/mixed.m3u8"

# Main window at (100, 100), 300 × 300; the video window touching its right
# edge, 360 × 400, ratio kept; the caption mode is set for each start.
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
"KeepAR"=dword:00000001
REG

# region MODE: where captions show, as a crop geometry: the 90-pixel strip
# below the picture in mode Window (1), the picture itself in mode Overlay (2).
region() {
  local rect l t r b
  rect=$(ctl picture "$video" 3000) || return 1
  read -r l t r b <<<"$rect"
  [ $((r - l)) -gt 8 ] && [ $((b - t)) -gt 8 ] || return 1
  if [ "$1" = 1 ]; then echo "$((r - l))x90+$l+$b"; else echo "$((r - l))x$((b - t))+$l+$t"; fi
}
# picture_shows: on the last screenshot, most of the picture shows the clip's
# field rather than a black window.
picture_shows() {
  local rect shown
  rect=$(region 2) || return 1
  shown=$(convert "$work/shot.png" -crop "$rect" +repage -fuzz 10% -fill white +opaque black \
    -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null)
  awk -v m="${shown:-0}" 'BEGIN { exit !(m > 0.5) }'
}
# differ A B: more than a few pixels differ.
differ() {
  local ae
  ae=$(compare -metric AE "$1" "$2" null: 2>&1)
  [ "${ae%% *}" -gt 20 ] 2>/dev/null
}
# settle OUT: a new screenshot whose caption region holds still, cropped to OUT.
settle() {
  local i
  shoot && convert "$work/shot.png" -crop "$geom" +repage "$1" || return 1
  for i in 1 2 3 4; do
    sleep 0.15
    shoot && convert "$work/shot.png" -crop "$geom" +repage "$work/again.png" || return 1
    differ "$1" "$work/again.png" || return 0
    mv "$work/again.png" "$1"
  done
  return 1
}
# until_region differ|same OUT SECONDS: polls until the region differs from
# (or is again) the one before the first caption.
until_region() {
  local i changed
  for i in $(seq 1 $(($3 * 4))); do
    if settle "$2"; then
      changed=same
      differ "$work/none.png" "$2" && changed=differ
      [ "$changed" = "$1" ] && return 0
    fi
    sleep 0.1
  done
  return 1
}

# play NAME MODE PATH: starts the player on PATH in caption mode MODE and keeps
# the caption region before the first caption ($work/none.png), while the
# first caption shows ($work/NAME-1.png, the screenshot in $work/NAME.png) and
# while the second shows ($work/NAME-2.png), then closes the player.
play() {
  local what=$1 mode=$2 i
  load_settings
  "$winrun" reg add 'HKCU\Software\Velk\VideoWindow' /v Caption /t REG_DWORD /d "$mode" /f >/dev/null 2>&1
  "$winrun" "$work/player/Velk.exe" "$(winpath "$3")" &
  pid=$!
  ctl wait-window "$video" 20000 >/dev/null || fail "$what: the video window did not show"
  geom=""
  for i in $(seq 1 40); do
    geom=$(region "$mode") && break
    sleep 0.25
  done
  [ -n "$geom" ] || fail "$what: no picture in the video window"
  for i in $(seq 1 40); do
    shoot && picture_shows && break
    sleep 0.25
  done
  picture_shows || fail "$what: the picture does not show the clip"
  settle "$work/none.png" || fail "$what: the picture does not hold still"
  until_region differ "$work/$what-1.png" 10 || fail "$what: the first caption did not show"
  cp "$work/shot.png" "$work/$what.png"
  until_region same "$work/cleared.png" 6 || fail "$what: the first caption was not cleared"
  until_region differ "$work/$what-2.png" 6 || fail "$what: the second caption did not show"
  close_player || fail "$what: the player ended with an error"
}
same_captions() { # A B: the two runs' captions look alike, pixel for pixel
  local n
  for n in 1 2; do
    differ "$work/$1-$n.png" "$work/$2-$n.png" && return 1
  done
  return 0
}

# --- In a Korean locale ---------------------------------------------------------------
use_locale "$korean"
play cp949 1 "$work/cp949/$name.avi"
cp "$work/cp949.png" "$out/screens/korean-strip.png"
white=$(convert "$work/none.png" -fuzz 12% -fill black +opaque white -colorspace Gray \
  -format '%[fx:round(mean*w*h)]' info:)
[ "$white" = 0 ] || fail "the strip was not empty before the first caption"
differ "$work/cp949-1.png" "$work/cp949-2.png" ||
  fail "two Korean captions look alike in the strip: boxes or marks instead of Hangul"

play marked 1 "$work/marked/$name.avi"
same_captions cp949 marked || fail "the CP949 captions are not the Korean letters the UTF-8 file holds"

# The same captions in UTF-8 without a byte-order mark show as the CP949 file's do.
play unmarked 1 "$work/unmarked/$name.avi"
cp "$work/unmarked.png" "$out/screens/korean-strip-utf8.png"
same_captions cp949 unmarked || fail "UTF-8 captions without a mark are not the Korean letters"

# The picture's Caption submenu lists the file's two languages below the modes.
load_settings
"$winrun" "$work/player/Velk.exe" "$(winpath "$work/cp949/$name.avi")" &
pid=$!
read -r l t r b <<<"$(ctl picture "$video" 20000)" || fail "menu: no picture"
xdotool mousemove $((l + 40)) $((t + 40)) click 3
ctl wait-menus 1 10000 || fail "menu: no menu on the picture"
xdotool key c
ctl wait-menus 2 5000 || fail "menu: the Caption submenu did not open"
sleep 0.3
shoot && cp "$work/shot.png" "$out/screens/caption-menu.png"
xdotool key Escape Escape
close_player || fail "menu: the player ended with an error"

play overlay 2 "$work/cp949/list.m3u"
cp "$work/overlay.png" "$out/screens/korean-overlay.png"
differ "$work/overlay-1.png" "$work/overlay-2.png" || fail "two Korean captions look alike in the picture"

# --- Names in every script -------------------------------------------------------------
# rows OUT: the first three rows of the list, from a new screenshot.
rows() { shoot && convert "$work/shot.png" -crop 276x42+112+120 +repage "$1"; }
start() { # PATH...: the player in caption mode Window, on the settings it left
  "$winrun" reg add 'HKCU\Software\Velk\VideoWindow' /v Caption /t REG_DWORD /d 1 /f >/dev/null 2>&1
  "$winrun" "$work/player/Velk.exe" "$@" &
  pid=$!
  ctl wait-window "$main_window" 20000 >/dev/null || fail "$where: the player did not show"
}
# wait_title_in NAME...: the main window's title becomes one of the names.
wait_title_in() {
  local i t n
  for i in $(seq 1 50); do
    t=$(ctl title "$main_window" 5000)
    for n in "$@"; do [ "$t" = "$n" ] && return 0; done
    sleep 0.2
  done
  echo "title reads '$t'" >&2
  return 1
}
# The automatic playlist's lines: the three names below a folder, exactly.
saved_lines() { # FOLDER
  local f p
  for f in "${mixed[@]}"; do p=$(winpath "$1/$f"); printf '%s\r\n' "${p#Z:}"; done
}
names() { # LOCALE
  use_locale "$1"
  where="$1, the UTF-8 playlist"
  load_settings
  rm -f "$work/player/velk.m3u"
  start "$(winpath "$work/mixed/mixed.m3u8")"
  wait_main title "${mixed[0]}" || fail "$where: ${mixed[0]} did not play"
  wait_main title "${mixed[1]}" || fail "$where: ${mixed[1]} did not play"
  ctl wait-window "$video" 20000 >/dev/null || fail "$where: no video window for ${mixed[1]}"
  wait_picture "$work/omega-ref.png" "$where: ${mixed[1]}"
  cp "$work/shot.png" "$out/screens/names-mixed-$1.png"
  wait_main title "${mixed[2]}" || fail "$where: ${mixed[2]} did not play"
  close_player || fail "$where: the player ended with an error"
  cmp -s "$work/player/velk.m3u" <(saved_lines "$work/mixed") ||
    fail "$where: the automatic playlist does not hold the names exactly: $(od -c "$work/player/velk.m3u" | head -5)"
  cp "$work/player/velk.m3u" "$work/saved.m3u"

  where="$1, after a restart"
  start
  wait_title_in "${mixed[@]}" || fail "$where: the current entry's name did not come back"
  sleep 0.5
  rows "$work/rows-$1.png" || fail "$where: no screenshot"
  close_player || fail "$where: the player ended with an error"
  cmp -s "$work/player/velk.m3u" "$work/saved.m3u" || fail "$where: the automatic playlist changed"
  # The rows are not what a code page without these letters shows.
  printf '??.mp3\r\n?????.avi\r\ncaf? ?n?c?d?.mp3\r\n' > "$work/player/velk.m3u"
  start
  wait_title_in "??.mp3" "?????.avi" "caf? ?n?c?d?.mp3" || fail "$where: the list of marks did not load"
  sleep 0.5
  rows "$work/rows-marks.png" || fail "$where: no screenshot"
  close_player || fail "$where: the player ended with an error"
  differ "$work/rows-$1.png" "$work/rows-marks.png" || fail "$where: the rows show marks, not the names"

  where="$1, the command line"
  start "$(winpath "$work/mixed/${mixed[1]}")"
  wait_main title "${mixed[1]}" || fail "$where: the title does not name ${mixed[1]}"
  ctl wait-window "$video" 20000 >/dev/null || fail "$where: no video window"
  wait_picture "$work/omega-ref.png" "$where: ${mixed[1]}"
  close_player || fail "$where: the player ended with an error"

  where="$1, a dropped folder"
  rm -f "$work/player/velk.m3u"
  start
  ctl drop "$main_window" 5000 60 40 "$(winpath "$work/dropped")" || fail "$where: cannot drop"
  sleep 1.5
  close_player || fail "$where: the player ended with an error"
  cmp -s <(tr -d '\r' < "$work/player/velk.m3u" | sort) <(saved_lines "$work/dropped" | tr -d '\r' | sort) ||
    fail "$where: the automatic playlist does not hold the dropped names: $(cat "$work/player/velk.m3u")"
}

# --- On a Western code page -----------------------------------------------------------
# The UTF-8 captions show the same Hangul as in the Korean locale.
use_locale C.UTF-8
play western 1 "$work/unmarked/$name.avi"
cp "$work/western.png" "$out/screens/korean-strip-western.png"
same_captions unmarked western || fail "Korean captions on a Western code page are not the Korean letters"
names C.UTF-8
cp "$out/screens/names-mixed-C.UTF-8.png" "$out/screens/names-mixed.png"
names "$korean"
echo "korean captions e2e passed"
