// What a skinned window does with a left-button press, release or pointer
// move: which region messages it posts to itself, how its buttons are
// repainted and which cursor shows. Decided here, carried out by CSkinWnd.
#pragma once

#include <cstdint>
#include <vector>

#include "player/skin/SkinControls.h"

namespace velk {

enum class SkinMouseEvent { Down, Up, Move };
enum class SkinCursor { Unchanged, Arrow, SizeNWSE };

struct SkinMouseInput {
  SkinMouseEvent event = SkinMouseEvent::Move;
  bool held = false;      // left button down during a move
  SkinPoint point;        // client coordinates
  SkinRect client;
  SkinRect titleStrip;
  bool resizing = false;
  bool moving = false;
};

struct SkinPost {
  uint32_t message;
  uint32_t wParam;
  bool operator==(const SkinPost& o) const { return message == o.message && wParam == o.wParam; }
};

struct SkinMouseAction {
  std::vector<SkinPost> posts;  // all carry the pointer position as lParam
  bool drawButtons = false;     // repaint the buttons (no force) with pressedId shown pressed
  uint32_t pressedId = kNoRegion;
  SkinCursor cursor = SkinCursor::Unchanged;
};

SkinMouseAction DecideSkinMouse(const SkinMouseInput& in, const CSkinControls& controls);

}  // namespace velk
