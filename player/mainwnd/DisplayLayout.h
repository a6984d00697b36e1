// The main window's displays as plain arithmetic: where the playing time, the
// seek track and the volume bar lie for a client size, what the time fields
// say, where the seek thumb's four strokes go and how much of the volume bar
// is filled. The window draws what these return.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "player/skin/SkinGeometry.h"

namespace velk::display {

// Client width and height of the main window.
SkinRect TimeArea(SkinSize client);
SkinRect MinutesField(SkinSize client);
SkinRect SecondsField(SkinSize client);

// The sizes from the current skin that place the seek track and the volume bar.
struct SkinMetrics {
  int32_t leftEdgeWidth = 0;     // frame piece 27
  int32_t rightEdgeWidth = 0;    // frame piece 28
  int32_t bottomLeftHeight = 0;  // frame piece 24
  SkinSize volumeImage;          // skin image 383 (90 x 6 in the base skin)
};
SkinRect SeekTrack(SkinSize client, const SkinMetrics& m);
SkinRect VolumeBar(SkinSize client, const SkinMetrics& m);

// "%d" of the minutes and of the seconds of a position in whole seconds, both
// truncating toward zero: 65 → "1", "5"; -1 (no position) → "0", "-1".
struct TimeText {
  std::string minutes;
  std::string seconds;
};
TimeText FormatTime(int32_t positionSeconds);

// The seek thumb: a 20-pixel open box whose right edge moves from the track's
// left end (start) to its right end (end of the item). Four filled rectangles;
// none when the duration is not known or not positive.
struct ThumbStrokes {
  bool visible = false;
  std::array<SkinRect, 4> strokes{};
};
ThumbStrokes SeekThumb(const SkinRect& track, int32_t positionSeconds, int32_t durationSeconds);

// Filled width of the volume bar for the two 16-bit channel levels.
int32_t VolumeFill(const SkinRect& bar, uint16_t left, uint16_t right);

}  // namespace velk::display
