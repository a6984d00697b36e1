// The video window's arithmetic: where the picture goes in the window, which
// size the window takes for a scale, which size entry shows checked, the
// caption strip's place and what a caption-mode change does to the window.
// Plain integers; the window only applies the results.
#pragma once

#include <cstdint>

#include "player/skin/SkinGeometry.h"

namespace velk::video {

// The caption strip below the picture in caption mode Window.
inline constexpr int32_t kCaptionStripHeight = 90;

enum CaptionMode : int32_t { kCaptionNone = 0, kCaptionWindow = 1, kCaptionOverlay = 2 };

// A stored caption mode as the window uses it: 1 and 2 as read, anything else None.
CaptionMode NormalizeCaptionMode(int32_t stored);

// The room the strip takes below the picture in this mode.
inline int32_t StripReserve(CaptionMode mode) { return mode == kCaptionWindow ? kCaptionStripHeight : 0; }

struct PicturePlace {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const PicturePlace& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

// The picture's place in `area` (client coordinates). Without keeping the ratio
// it fills the area above the strip. Keeping it, picture and strip are centred
// as one block, limited by the height or by the width. A native size with a zero
// component has no ratio to keep: the picture then fills the area above the strip.
PicturePlace LayoutPicture(const SkinRect& area, SkinSize video, bool keepAspect, CaptionMode mode);

// The picture size of a scale command: 50 (halves truncated), 100 or 200 percent.
SkinSize ScaledPicture(SkinSize video, int percent);

// The window size that gives the picture `picture` (plus the strip): the frame
// around the inner area stays as it is.
SkinSize WindowSizeForPicture(SkinSize client, SkinSize inner, SkinSize picture, CaptionMode mode);

// A scale's picture made smaller with its ratio, where the window around it
// (`extra`: the frame and the strip) would not fit in `room` (the work area of
// the window's monitor); as it is when it fits. Never under 1 x 1.
SkinSize FitScaledPicture(SkinSize picture, SkinSize extra, SkinSize room);

// Position of the checked entry in the size submenu: 0 "50%", 1 "100%", 2
// "200%", 3 "Full Screen", or -1 for none. `current` is the picture's size now.
// A scale counts only when both ratios agree within 0.01 and hit it exactly.
int CheckedSizeEntry(SkinSize video, SkinSize current, bool fullScreen);

// The strip: across the inner area, directly below the picture's bottom edge,
// 90 pixels high; empty outside mode Window.
SkinRect CaptionStripRect(const SkinRect& inner, int32_t pictureBottom, CaptionMode mode);

// What choosing a caption mode does.
struct ModeChange {
  bool changed = false;      // false: the mode was already active; nothing is written
  int32_t heightDelta = 0;   // the window's client height grows (+) or shrinks (-) by this
};
// `stripOverflow` is how far the strip would reach below the inner area when
// Window is chosen (its bottom minus the inner bottom); `clientHeight` bounds the shrink.
ModeChange ChangeCaptionMode(CaptionMode from, CaptionMode to, int32_t stripOverflow,
                             int32_t clientHeight);

}  // namespace velk::video
