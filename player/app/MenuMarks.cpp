#include "player/app/MenuMarks.h"

#include "player/res/ResourceIds.h"

namespace velk {

std::optional<CommandState> CommandStateOf(uint32_t id, const PlayerSnapshot& p) {
  auto checkedIf = [](bool on) { return CommandState{true, on}; };
  switch (id) {
    case ID_REPEAT_NONE:
    case ID_REPEAT_THIS:
    case ID_REPEAT_ALL: return checkedIf(p.repeatMode == static_cast<int32_t>(id - ID_REPEAT_NONE));
    case ID_SHUFFLE: return checkedIf(p.shuffle);
    case ID_REPEAT_THIS_TOGGLE: return checkedIf(p.repeatMode == 1);
    case ID_PLAY_THIS:
    case ID_DELETE_THIS: return CommandState{p.onRow, false};
    case ID_CAPTION_NONE: return checkedIf(p.captionMode != 1 && p.captionMode != 2);
    case ID_CAPTION_WINDOW: return checkedIf(p.captionMode == 1);
    case ID_CAPTION_OVERLAY: return checkedIf(p.captionMode == 2);
    case ID_VIDEO_KEEP_RATIO: return checkedIf(p.keepAspect);
    case ID_VIDEO_SIZE_50:
    case ID_VIDEO_SIZE_100:
    case ID_VIDEO_SIZE_200:
    case ID_VIDEO_FULL_SCREEN: return checkedIf(p.sizeEntry == static_cast<int32_t>(id - ID_VIDEO_SIZE_50));
    default: return std::nullopt;
  }
}

}  // namespace velk
