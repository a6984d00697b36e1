// A skinned window's stored screen rectangle: corrected when read so the
// window lands on the screen, and written only in the parts that fit.
#pragma once

#include <cstdint>
#include <vector>

#include "player/skin/SkinGeometry.h"

namespace velk {

// A stored window rectangle made usable on the monitors of the virtual screen
// (the primary one first). A size that is not positive or below the minimum
// becomes the default 300 × 300, and a side larger than the window's monitor
// becomes 300 from the same corner. A place that shows the title strip (its
// full height and enough width to grab) on any monitor is kept; otherwise the
// window is moved back onto the monitor it is mostly on (else the primary one)
// with its size kept.
SkinRect CorrectPlacement(const SkinRect& stored, const std::vector<SkinRect>& monitors, SkinSize minimum,
                          int32_t titleHeight);

// Where a window that belongs beside a partner window opens (the video window
// beside the main window). A stored place is kept unless it would cover the
// partner's title strip; with none stored, or when it would, the window keeps
// its size and goes beside the partner: right of it, else below, left of it or
// above, the first that lies wholly on the screen (else the right one, pushed
// onto the screen).
SkinRect PlaceBesidePartner(const SkinRect& window, bool stored, const SkinRect& partner,
                            const SkinRect& partnerTitle, const SkinRect& screen);

struct PlacementParts {
  bool horizontal = false;  // write "left" and "right"
  bool vertical = false;    // write "top" and "bottom"
};
// screen: the virtual screen (every monitor), as the stored place is checked
// against at start. A window wider (higher) than it or off it keeps the
// stored horizontal (vertical) values of the previous run.
PlacementParts PlacementToSave(const SkinRect& window, const SkinRect& screen);

}  // namespace velk
