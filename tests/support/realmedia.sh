#!/usr/bin/env bash
# Media made by an independent encoder (ffmpeg), in the container and codec
# pairs people actually meet, each with a reference frame that ffmpeg itself
# decodes from the same file. The picture is SMPTE colour bars (still, and
# different top to bottom and left to right, so a flipped, mirrored, cropped or
# shifted picture shows), the sound a sine tone.
#   realmedia.sh OUTDIR [SECONDS]
# Writes OUTDIR/NAME.EXT for every line of the table below, OUTDIR/NAME.png
# (the frame at one second) for the videos, and OUTDIR/media.tsv with one line
# per file: file, width, height (0 0 for sound only), duration in milliseconds.
set -euo pipefail
out=$1
seconds=${2:-4}
mkdir -p "$out"

# name ext width height video-codec audio-codec extra-options
table=(
  "mpeg1 mpg 352 288 mpeg1video mp2 -f mpeg"
  "wmv asf 320 240 wmv2 wmav2 -f asf"
  "xvid avi 640 360 mpeg4 libmp3lame -vtag XVID"
  "mjpeg avi 320 240 mjpeg pcm_s16le -pix_fmt yuvj420p"
  "quicktime mov 320 240 mpeg4 aac"
  "tone mp3 0 0 - libmp3lame"
  "tone wav 0 0 - pcm_s16le"
)

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }

: > "$out/media.tsv"
for row in "${table[@]}"; do
  read -r name ext width height vcodec acodec extra <<<"$row"
  file="$name.$ext"
  sound=(-f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds")
  if [ "$vcodec" = "-" ]; then
    ff "${sound[@]}" -c:a "$acodec" $extra "$out/$file"
  else
    ff -f lavfi -i "smptebars=size=${width}x${height}:rate=25:duration=$seconds" "${sound[@]}" \
      -c:v "$vcodec" -q:v 3 -g 25 -c:a "$acodec" -ac 2 $extra "$out/$file"
    ff -ss 1 -i "$out/$file" -frames:v 1 "$out/$name.png"
  fi
  ms=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$out/$file" |
    awk '{ printf "%d", $1 * 1000 }')
  printf '%s\t%s\t%s\t%s\n' "$file" "$width" "$height" "$ms" >> "$out/media.tsv"
done
