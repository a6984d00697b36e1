#!/usr/bin/env bash
# Real files as a user meets them: media that ffmpeg made (MPEG-1, ASF/WMV,
# MPEG-4 AVI, MJPEG AVI, QuickTime, MP3, WAV) opened from the command line and
# played through from a playlist. The video window must show each file's own
# picture (screenshot pixels against the frame ffmpeg decodes from the same
# file) with and without a caption file beside it, in caption modes None and
# Overlay, and at 50 %, 200 % and full screen; each entry must play for its
# length and hand over to the next; on a first start the video window must not
# cover the main window; and closing after scaling and full-screen toggles must
# end the player every time, with the automatic playlist written; and item
# after item with sound and picture (Next, over a hundred times) must leave
# the player's threads where they were.
#   RealMediaE2E.sh WINERUN BIN_DIR VELKCTL_EXE MEDIA_DIR
set -uo pipefail
winrun=$1 bin=$2 velkctl=$3 media=$4
source "$(dirname "${BASH_SOURCE[0]}")/ScreenTest.sh"
video="VideoWindow"
fail_shot=real-media-e2e-failed.png

[ -f "$media/media.tsv" ] || fail "no media in $media"
mkdir -p "$work/player" "$work/media"
cp "$bin/Velk.exe" "$bin/Karvex.ax" "$work/player/" || fail "no player to copy"
cp "$media"/* "$work/media/"
winpath() { echo "Z:${1//\//\\}"; }

start_player() { # ARG...
  "$winrun" "$work/player/Velk.exe" "$@" &
  pid=$!
  ctl wait-window "$main_window" 20000 >/dev/null || fail "the player did not show ($*)"
}
set_caption_mode() {
  "$winrun" reg add 'HKCU\Software\Velk\VideoWindow' /v Caption /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

overlaps() { # two "l t r b" rectangles
  local a b
  read -r -a a <<<"$1"
  read -r -a b <<<"$2"
  [ "${a[0]}" -lt "${b[2]}" ] && [ "${b[0]}" -lt "${a[2]}" ] && [ "${a[1]}" -lt "${b[3]}" ] && [ "${b[1]}" -lt "${a[3]}" ]
}

mapfile -t rows < "$work/media/media.tsv"
videos=() all=()
for row in "${rows[@]}"; do
  read -r file width height ms <<<"$row"
  all+=("$file")
  [ "$width" -gt 0 ] && videos+=("$file")
done

# --- From the command line --------------------------------------------------------
# A first start (nothing stored): the video window opens beside the main window.
"$winrun" reg delete 'HKCU\Software\Velk' /f >/dev/null 2>&1
first=1
for row in "${rows[@]}"; do
  read -r file width height ms <<<"$row"
  start_player "$(winpath "$work/media/$file")"
  wait_main title "$file" || fail "$file: the title does not name the item"
  if [ "$width" -gt 0 ]; then
    ref="$work/media/${file%.*}.png"
    ctl wait-window "$video" 20000 >/dev/null || fail "$file: no video window"
    if [ -n "$first" ]; then
      overlaps "$(ctl rect "$video" 5000)" "$(ctl rect "$main_window" 5000)" &&
        fail "on a first start the video window covers the main window"
      first=""
    fi
    wait_picture "$ref" "$file from the command line"
    [ "$file" = "mpeg1.mpg" ] && cp "$work/shot.png" "$out/screens/real-media-mpeg1.png"
  fi
  close_player || fail "$file: the player ended with an error"
done

# --- Scaled and full screen, while playing -----------------------------------------
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
for long in long.avi:mpeg4:libmp3lame:480x270 long.asf:wmv2:wmav2:320x240; do
  IFS=: read -r file vcodec acodec size <<<"$long"
  ff -f lavfi -i "smptebars=size=$size:rate=25:duration=30" -f lavfi -i "sine=frequency=440:duration=30" \
    -c:v "$vcodec" -q:v 3 -c:a "$acodec" "$work/media/$file" || fail "cannot make $file"
  ff -ss 1 -i "$work/media/$file" -frames:v 1 "$work/media/${file%.*}-ref.png"
  start_player "$(winpath "$work/media/$file")"
  ctl wait-window "$video" 20000 >/dev/null || fail "$file: no video window"
  wait_picture "$work/media/${file%.*}-ref.png" "$file at 100"
  for step in 32774:50 32776:200 32777:full; do
    ctl command "$video" "${step%%:*}" 5000 >/dev/null || fail "$file: no size command"
    sleep 0.5
    wait_picture "$work/media/${file%.*}-ref.png" "$file at ${step##*:}"
  done
  cp "$work/shot.png" "$out/screens/real-media-fullscreen-${file##*.}.png"
  close_player || fail "$file: the player ended with an error"
done

# --- Played through from a playlist ------------------------------------------------
# Every entry in turn, in each caption mode, with and without caption files.
{
  echo "#EXTM3U"
  for file in "${all[@]}"; do echo "$file"; done
} > "$work/media/all.m3u"
for mode in 0 2; do
  for captions in without with; do
    for file in "${videos[@]}"; do
      if [ "$captions" = with ]; then
        printf '<SAMI><BODY><SYNC Start=0><P>%s</P><SYNC Start=500><P>&nbsp;</P></BODY></SAMI>\n' \
          "${file%.*}" > "$work/media/${file%.*}.smi"
      else
        rm -f "$work/media/${file%.*}.smi"
      fi
    done
    set_caption_mode "$mode"
    "$winrun" reg delete 'HKCU\Software\Velk\Qorn mediaplayer' /v curtrack /f >/dev/null 2>&1
    start_player "$(winpath "$work/media/all.m3u")"
    what="mode $mode, $captions captions"
    seen=0 started=$SECONDS
    for row in "${rows[@]}"; do
      read -r file width height ms <<<"$row"
      wait_main title "$file" || fail "$what: $file never played"
      now=$SECONDS
      if [ "$seen" -gt 0 ]; then
        # The previous entry played for its length (whole seconds, with the
        # start-up of the next graph).
        played=$((now - started))
        [ "$played" -ge $((prev_ms / 1000 - 1)) ] && [ "$played" -le $((prev_ms / 1000 + 3)) ] ||
          { [ "$prev_width" -eq 0 ] && known_wine_defect 10 "sound alone plays 3.5 times too fast ($prev)"; } ||
          fail "$what: $prev played ${played}s, it lasts ${prev_ms}ms"
      fi
      started=$now prev=$file prev_ms=$ms prev_width=$width seen=$((seen + 1))
      if [ "$width" -gt 0 ]; then
        wait_picture "$work/media/${file%.*}.png" "$what: $file"
      fi
    done
    [ "$mode$captions" = "2with" ] && cp "$work/shot.png" "$out/screens/real-media-overlay.png"
    # After the last entry the player stops on the first.
    wait_main title "${all[0]}" || fail "$what: the end of the list did not come back to the first entry"
    close_player || fail "$what: the player ended with an error"
  done
done

# --- Closing after scaling and full-screen toggles, again and again ----------------
for round in 1 2 3; do
  rm -f "$work/player/velk.m3u"
  start_player "$(winpath "$work/media/long.avi")"
  ctl wait-window "$video" 20000 >/dev/null || fail "round $round: no video window"
  for id in 32777 32775 32774 32776 32777 32775; do  # full screen, 100 %, 50 %, 200 %, full, 100 %
    ctl command "$video" "$id" 5000 >/dev/null
    sleep 0.3
  done
  close_player || fail "round $round: the player did not end cleanly after the toggles"
  grep -q 'long.avi' "$work/player/velk.m3u" 2>/dev/null || fail "round $round: the automatic playlist was not written"
done
# --- Item after item: nothing left behind -----------------------------------------
# Short films with sound and picture on repeat, Next after Next: after a few
# items to settle, the player's threads (of its Linux process) must not grow
# with the items.
soak=(s1 s2 s3 s4 s5 s6) warm=6 changes=102
for name in "${soak[@]}"; do
  ff -f lavfi -i "smptebars=size=320x240:rate=25:duration=4" -f lavfi -i "sine=frequency=440:duration=4" \
    -c:v mpeg4 -q:v 3 -c:a libmp3lame "$work/media/$name.avi" || fail "cannot make $name.avi"
done
printf '%s.avi\r\n' "${soak[@]}" > "$work/media/soak.m3u"
"$winrun" reg add 'HKCU\Software\Velk\playlist' /v repeatmode /t REG_DWORD /d 2 /f >/dev/null 2>&1
start_player "$(winpath "$work/media/soak.m3u")"
wait_main title s1.avi || fail "soak: the first film did not play"
player_process() { # the Linux process of this test's Velk.exe, by its command line
  local p
  for p in /proc/[0-9]*; do
    { tr '\0' ' ' <"$p/cmdline"; } 2>/dev/null | grep "Velk\.exe" | grep -q "${work##*/}" && echo "${p#/proc/}"
  done | tail -n 1
}
linux_pid=$(player_process)
[ -n "$linux_pid" ] || fail "soak: no Linux process for the player"
measure() { echo "$(ls "/proc/$linux_pid/task" | wc -l) $(awk '/^VmRSS/ { print $2 }' "/proc/$linux_pid/status")"; }
next_items() { # COUNT: Next that many times, each item playing a moment
  local i
  for ((i = 0; i < $1; i++)); do
    ctl command "$main_window" 32801 5000 >/dev/null || fail "soak: no Next"
    sleep 0.6
  done
}
next_items "$warm"
wait_main title s1.avi || fail "soak: the films did not follow each other"
read -r threads0 kb0 <<<"$(measure)"
next_items "$changes"
wait_main title "${soak[changes % ${#soak[@]}]}.avi" || fail "soak: Next was not followed"
read -r threads1 kb1 <<<"$(measure)"
echo "soak: $changes item changes: threads $threads0 -> $threads1, memory ${kb0} KB -> ${kb1} KB"
awk -v t=$((threads1 - threads0)) -v n="$changes" 'BEGIN { exit !(t / n > 0.1) }' &&
  fail "soak: $((threads1 - threads0)) more threads after $changes items"
# Memory is reported, not yet held to a bound: it still grows by about 640 KB
# per item change under Wine 8 (a megabyte before pictures went to the GDI
# renderer), in Wine's decoding of the pictures: films without sound grow as much.
echo "soak: $(((kb1 - kb0) / changes)) KB more memory per item change"
close_player || fail "soak: the player ended with an error"
"$winrun" reg delete 'HKCU\Software\Velk\playlist' /v repeatmode /f >/dev/null 2>&1

echo "real media e2e passed"
