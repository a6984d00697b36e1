#include "player/mainwnd/DisplayLayout.h"

#include <algorithm>

namespace velk::display {

SkinRect TimeArea(SkinSize c) { return {c.width - 88, c.height - 15, c.width - 54, c.height - 9}; }
SkinRect MinutesField(SkinSize c) { return {c.width - 88, c.height - 15, c.width - 68, c.height - 9}; }
SkinRect SecondsField(SkinSize c) { return {c.width - 65, c.height - 15, c.width - 55, c.height - 9}; }

SkinRect SeekTrack(SkinSize c, const SkinMetrics& m) {
  const int32_t top = c.height - m.bottomLeftHeight;
  return {m.leftEdgeWidth, top + 2, c.width - m.rightEdgeWidth, top + 7};
}

SkinRect VolumeBar(SkinSize c, const SkinMetrics& m) {
  const int32_t left = c.width - 144, top = c.height - 28;
  return {left, top, left + m.volumeImage.width, top + m.volumeImage.height};
}

TimeText FormatTime(int32_t p) { return {std::to_string(p / 60), std::to_string(p % 60)}; }

ThumbStrokes SeekThumb(const SkinRect& track, int32_t position, int32_t duration) {
  ThumbStrokes t;
  if (duration <= 0) return t;  // no end to measure against: no thumb
  // A position past the end (a graph running over) or before the start (none
  // known) keeps the thumb on its track.
  const int64_t permille = std::clamp<int64_t>(static_cast<int64_t>(position) * 1000 / duration, 0, 1000);
  const int64_t start = track.left + 20;
  const int32_t x = static_cast<int32_t>(start + (track.right - start) * permille / 1000);
  const int32_t top = track.top, bottom = track.bottom;
  t.visible = true;
  t.strokes = {SkinRect{x - 20, top, x, top + 1}, SkinRect{x - 20, top + 1, x - 17, top + 3},
               SkinRect{x - 3, top + 1, x, top + 3}, SkinRect{x - 20, bottom - 2, x, bottom - 1}};
  return t;
}

int32_t VolumeFill(const SkinRect& bar, uint16_t left, uint16_t right) {
  return static_cast<int32_t>(static_cast<int64_t>(bar.Width()) * (left + right) / 131070);
}

}  // namespace velk::display
