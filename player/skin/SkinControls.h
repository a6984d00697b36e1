// The buttons and hot regions of a skinned window: where they lie for a given
// client rectangle, which one a point hits, and which face each button shows.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "player/skin/SkinGeometry.h"

namespace velk {

// The corner of the client rectangle a region's offset is measured from.
enum : uint32_t {
  ANCHOR_TOP_LEFT = 0x0001,
  ANCHOR_TOP_RIGHT = 0x0010,
  ANCHOR_BOTTOM_LEFT = 0x0100,
  ANCHOR_BOTTOM_RIGHT = 0x1000,
};

// Button state bits.
enum : uint32_t {
  SKB_DOWN = 0x0001,      // shown pressed; for a latching button: on
  SKB_LATCHING = 0x0010,  // pressed look follows SKB_DOWN, repainted on full repaints only
  SKB_HIDDEN = 0x0100,    // never painted, still hit-tested and reported
};

// Which mouse activity on a button is posted.
enum : uint32_t {
  SKB_NOTIFY_DOWN = 0x0001,
  SKB_NOTIFY_UP = 0x0010,
  SKB_NOTIFY_HOVER = 0x0100,
  SKB_NOTIFY_DRAG = 0x1000,
};

// wParam of region and drag messages.
enum : uint32_t {
  SKIN_MOUSE_DOWN = 1,
  SKIN_MOUSE_UP = 2,
  SKIN_MOUSE_MOVE = 4,  // or-ed with 1 while the left button is held
};

constexpr uint32_t kNoRegion = 0xFFFFFFFFu;

struct HotRegion {
  uint32_t id;
  uint32_t anchor;
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

// Sixteen 32-bit fields, as the windows list their buttons.
struct SkinButton {
  uint32_t id;
  uint32_t normalImage;
  uint32_t pressedImage;
  SkinRect normal;
  SkinRect pressed;
  uint32_t anchor;
  int32_t x;
  int32_t y;
  uint32_t state;
  uint32_t notify;
};

// The corner a region is anchored to; other anchor values give (0, 0).
SkinPoint AnchorCorner(uint32_t anchor, const SkinRect& client);

class CSkinControls {
 public:
  void SetHotRegion(const HotRegion& region);
  void RemoveHotRegion(uint32_t id);
  const HotRegion* FindRegion(uint32_t id) const;

  // Stores the button (replacing one with its id) and its hot region; the
  // caller registers the faces' rectangles in its image.
  void AddButton(const SkinButton& button);
  void RemoveButton(uint32_t id);
  const SkinButton* FindButton(uint32_t id) const;
  bool IsButton(uint32_t id) const { return FindButton(id) != nullptr; }
  // The notify mask, or 0xFFFFFFFF when there is no such button.
  uint32_t GetNotifyMask(uint32_t id) const;
  void SetButtonState(uint32_t id, uint32_t state);

  SkinPoint GetRegionOrigin(uint32_t id, const SkinRect& client) const;
  // Left and top edges are inside, right and bottom edges outside.
  uint32_t HitTest(int32_t x, int32_t y, const SkinRect& client) const;

  // The faces to paint: the button `pressedId` pressed, every other
  // non-latching one released, latching ones as their SKB_DOWN says (and only
  // when forced). Records the shown state in SKB_DOWN.
  std::vector<PieceDraw> PlanButtons(uint32_t pressedId, bool force, const SkinRect& client);

  void Clear();
  const std::map<uint32_t, SkinButton>& Buttons() const { return buttons_; }

 private:
  std::map<uint32_t, HotRegion> regions_;
  std::map<uint32_t, SkinButton> buttons_;
};

}  // namespace velk
