#include "player/skin/SkinLayout.h"

#include "shared/PlayerMessages.h"

namespace velk {

// Both windows take their frame from the same places; the video window uses
// only the top 8 rows of the bottom bar.
const FramePieceTable kMainFrameTable = {{
    {0, 0, 25, 20},     {153, 0, 178, 20},  {127, 0, 152, 20}, {26, 0, 126, 20},
    {0, 21, 25, 41},    {153, 21, 178, 41}, {127, 21, 152, 41}, {26, 21, 126, 41},
    {0, 72, 124, 110},  {126, 72, 276, 110}, {179, 0, 204, 38},
    {0, 42, 12, 71},    {39, 42, 51, 71},
}};

const FramePieceTable kVideoFrameTable = {{
    {0, 0, 25, 20},     {153, 0, 178, 20},  {127, 0, 152, 20}, {26, 0, 126, 20},
    {0, 21, 25, 41},    {153, 21, 178, 41}, {127, 21, 152, 41}, {26, 21, 126, 41},
    {0, 72, 124, 80},   {126, 72, 276, 80}, {179, 0, 204, 8},
    {0, 42, 12, 71},    {39, 42, 51, 71},
}};

namespace {

constexpr uint32_t TR = ANCHOR_TOP_RIGHT;
constexpr uint32_t BL = ANCHOR_BOTTOM_LEFT;
constexpr uint32_t BR = ANCHOR_BOTTOM_RIGHT;
constexpr uint32_t UP = SKB_NOTIFY_UP;

SkinButton Same(uint32_t id, uint32_t normalImage, uint32_t pressedImage, SkinRect face,
                uint32_t anchor, int32_t x, int32_t y, uint32_t state = 0) {
  return {id, normalImage, pressedImage, face, face, anchor, x, y, state, UP};
}

SkinButton Two(uint32_t id, uint32_t normalImage, uint32_t pressedImage, SkinRect normal,
               SkinRect pressed, uint32_t anchor, int32_t x, int32_t y) {
  return {id, normalImage, pressedImage, normal, pressed, anchor, x, y, 0, UP};
}

}  // namespace

const std::vector<SkinButton>& MainWindowButtons() {
  static const std::vector<SkinButton> buttons = {
      Same(ID_SKIN_CLOSE, 256, 257, {166, 2, 176, 12}, TR, -12, 2),
      Same(ID_SKIN_MINIMIZE, 258, 259, {156, 2, 166, 12}, TR, -22, 2),
      Same(ID_BTN_PREV, 356, 357, {132, 95, 142, 101}, BR, -144, -15),
      Same(ID_BTN_PLAY, 358, 359, {142, 95, 150, 101}, BR, -134, -15),
      Same(ID_BTN_PAUSE, 366, 367, {150, 95, 159, 101}, BR, -126, -15),
      Same(ID_BTN_STOP, 360, 361, {159, 95, 168, 101}, BR, -117, -15),
      Same(ID_BTN_NEXT, 362, 363, {169, 95, 179, 101}, BR, -107, -15),
      Same(ID_BTN_OPEN, 364, 365, {179, 95, 188, 101}, BR, -97, -15),
      Two(ID_BTN_OPENLIST, 368, 369, {232, 80, 252, 97}, {227, 149, 247, 166}, BR, -44, -30),
      Two(ID_BTN_ADD, 370, 371, {14, 80, 34, 97}, {23, 149, 43, 166}, BL, 12, -30),
      Two(ID_BTN_REMOVE, 372, 373, {43, 80, 63, 97}, {77, 149, 97, 166}, BL, 43, -30),
      Two(ID_BTN_SELECT, 376, 377, {72, 80, 92, 97}, {104, 149, 124, 166}, BL, 71, -30),
      Two(ID_BTN_OPTIONS, 378, 379, {101, 80, 120, 97}, {177, 149, 196, 166}, BL, 100, -30),
      Same(ID_BTN_VOLUP, 380, 380, {261, 73, 269, 78}, BR, -15, -37),
      Same(ID_BTN_VOLDOWN, 382, 382, {261, 79, 269, 84}, BR, -15, -31),
      Same(ID_AREA_VOLUME, kVolumeBarImage, kVolumeBarImage, {132, 82, 222, 88}, BR, -144, -28, SKB_HIDDEN),
  };
  return buttons;
}

SkinButton MainSeekStrip(const SkinRect& client, const PieceSizeFn& size) {
  const int32_t left = client.left + size(FP_EDGE_LEFT).width;
  const int32_t top = client.bottom - size(FP_BOTTOM_LEFT).height + 2;
  const int32_t right = client.right - size(FP_EDGE_RIGHT).width;
  const SkinRect face{0, 0, right - left, 5};
  return {ID_AREA_SEEK, 374, 374, face, face, BL, left - client.left, top - client.bottom,
          SKB_HIDDEN, UP};
}

const std::vector<SkinButton>& VideoWindowButtons() {
  static const std::vector<SkinButton> buttons = {
      Same(ID_VIDEO_STOP, 456, 457, {166, 2, 176, 12}, TR, -12, 2),
      Same(ID_VIDEO_FULLSCREEN, 458, 459, {156, 2, 166, 12}, TR, -22, 2),
  };
  return buttons;
}

HotRegion ResizeGripRegion() { return {WM_SKIN_RESIZEDRAG, BR, -20, -20, 20, 20}; }

}  // namespace velk
