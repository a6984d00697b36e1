// Which menu commands are checked or greyed, decided in one place from a
// snapshot of the player taken when a menu opens. Every window's menu is
// marked through this one function; the windows only fill in the snapshot.
#pragma once

#include <cstdint>
#include <optional>

namespace velk {

struct PlayerSnapshot {
  int32_t repeatMode = 0;   // 0 none, 1 this, 2 all
  bool shuffle = false;
  bool onRow = false;       // the playlist's menu opened over a row
  int32_t captionMode = 0;  // 0 none, 1 window, 2 overlay
  bool keepAspect = false;
  int32_t sizeEntry = -1;   // the picture's size: 0 50 %, 1 100 %, 2 200 %, 3 full screen; -1 none
};

struct CommandState {
  bool enabled = true;
  bool checked = false;
};

// The state of a menu command, or nothing for a command that carries no mark.
std::optional<CommandState> CommandStateOf(uint32_t commandId, const PlayerSnapshot& player);

}  // namespace velk
