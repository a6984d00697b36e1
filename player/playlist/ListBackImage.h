// The playlist view's background picture: a skin picture that knows its size
// and repeats a part of itself over an area.
#pragma once

#include <windows.h>

#include <cstdint>

#include "player/skin/SkinImage.h"

namespace velk {

class CListBackImage : public CSkinImage {
 public:
  CListBackImage() = default;
  ~CListBackImage() override;

  void OnImageChanged() override;
  // The loaded bitmap's size in pixels; (0, 0) before a picture is loaded.
  SkinSize GetSize() const { return {width_, height_}; }
  // Repeats the source part of the picture over target from its top-left
  // corner; an empty source draws nothing.
  void DrawTiled(HDC dc, const SkinRect& target, const SkinRect& source) const;

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace velk
