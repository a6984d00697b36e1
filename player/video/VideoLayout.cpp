#include "player/video/VideoLayout.h"

#include <algorithm>

namespace velk::video {

CaptionMode NormalizeCaptionMode(int32_t stored) {
  return (stored == kCaptionWindow || stored == kCaptionOverlay) ? static_cast<CaptionMode>(stored)
                                                                  : kCaptionNone;
}

PicturePlace LayoutPicture(const SkinRect& area, SkinSize video, bool keepAspect, CaptionMode mode) {
  const int32_t s = StripReserve(mode);
  const int32_t W = area.Width(), H = area.Height();
  if (!keepAspect || video.width == 0 || video.height == 0) {
    return {area.left, area.top, W, H - s};
  }
  // 64-bit intermediates: a large screen times a large picture overflows 32 bits.
  const int64_t hFit = static_cast<int64_t>(W) * video.height / video.width + s;
  const int64_t avail = H - s;
  const int64_t wFit = avail * video.width / video.height;
  if (wFit <= W) {  // the height limits
    return {area.left + static_cast<int32_t>((W - wFit) / 2), area.top, static_cast<int32_t>(wFit),
            H - s};
  }
  if (hFit <= H) {  // the width limits
    return {area.left, area.top + static_cast<int32_t>((H - hFit) / 2), W,
            static_cast<int32_t>(hFit - s)};
  }
  return {area.left, area.top, static_cast<int32_t>(wFit), static_cast<int32_t>(hFit - s)};
}

SkinSize ScaledPicture(SkinSize video, int percent) {
  switch (percent) {
    case 50:
      return {video.width / 2, video.height / 2};
    case 200:
      return {video.width * 2, video.height * 2};
    default:
      return video;
  }
}

SkinSize WindowSizeForPicture(SkinSize client, SkinSize inner, SkinSize picture, CaptionMode mode) {
  return {client.width - inner.width + picture.width,
          client.height - inner.height + picture.height + StripReserve(mode)};
}

SkinSize FitScaledPicture(SkinSize picture, SkinSize extra, SkinSize room) {
  const int64_t w = std::max<int64_t>(1, int64_t{room.width} - extra.width);
  const int64_t h = std::max<int64_t>(1, int64_t{room.height} - extra.height);
  if (picture.width <= w && picture.height <= h) return picture;
  if (picture.width <= 0 || picture.height <= 0) {
    return {static_cast<int32_t>(std::min<int64_t>(picture.width, w)),
            static_cast<int32_t>(std::min<int64_t>(picture.height, h))};
  }
  // The smaller of the two ratios, in integers: w / pw against h / ph.
  SkinSize fitted;
  if (w * picture.height <= h * picture.width) {
    fitted = {static_cast<int32_t>(w), static_cast<int32_t>(w * picture.height / picture.width)};
  } else {
    fitted = {static_cast<int32_t>(h * picture.width / picture.height), static_cast<int32_t>(h)};
  }
  fitted.width = std::max(fitted.width, 1);
  fitted.height = std::max(fitted.height, 1);
  return fitted;
}

int CheckedSizeEntry(SkinSize video, SkinSize current, bool fullScreen) {
  if (static_cast<int64_t>(video.width) * video.height == 0) return -1;
  if (fullScreen) return 3;
  const double rx = static_cast<double>(current.width) / video.width;
  const double ry = static_cast<double>(current.height) / video.height;
  if (!(ry - 0.01 < rx && rx < ry + 0.01)) return -1;
  if (rx == 0.5) return 0;
  if (rx == 1.0) return 1;
  if (rx == 2.0) return 2;
  return -1;
}

SkinRect CaptionStripRect(const SkinRect& inner, int32_t pictureBottom, CaptionMode mode) {
  if (mode != kCaptionWindow) return SkinRect{};
  return {inner.left, pictureBottom, inner.right, pictureBottom + kCaptionStripHeight};
}

ModeChange ChangeCaptionMode(CaptionMode from, CaptionMode to, int32_t stripOverflow,
                             int32_t clientHeight) {
  ModeChange change;
  if (from == to) return change;
  change.changed = true;
  if (to == kCaptionWindow) {
    change.heightDelta = stripOverflow > 0 ? stripOverflow : 0;
  } else if (from == kCaptionWindow) {
    change.heightDelta = -(clientHeight < kCaptionStripHeight ? clientHeight : kCaptionStripHeight);
  }
  return change;
}

}  // namespace velk::video
