// The fixed layout of every skin picture: the frame pieces and button faces
// of the main window and the video window. Nothing in a skin file describes
// its layout; these tables do, for the built-in skin and every user skin.
#pragma once

#include <cstdint>
#include <vector>

#include "player/skin/SkinControls.h"
#include "player/skin/SkinGeometry.h"

namespace velk {

// The skin is drawn in pixels of a 96-dpi screen; text laid out on it is sized in those.
constexpr int32_t kSkinPixelsPerInch = 96;
constexpr int32_t kSkinPictureWidth = 280;
// The skin image of the volume bar (the hidden volume strip's face).
constexpr uint32_t kVolumeBarImage = 383;
constexpr int32_t kSkinPictureHeight = 186;

extern const FramePieceTable kMainFrameTable;
extern const FramePieceTable kVideoFrameTable;

// The title-bar dots and bottom-bar buttons of the main window, and its
// volume strip (hidden, a region only). The seek strip depends on the width.
const std::vector<SkinButton>& MainWindowButtons();
// The seek strip for a client rectangle: it spans the width between the side edges.
SkinButton MainSeekStrip(const SkinRect& client, const PieceSizeFn& size);
const std::vector<SkinButton>& VideoWindowButtons();

// The resize grip in the bottom-right corner of every skinned window.
HotRegion ResizeGripRegion();

}  // namespace velk
