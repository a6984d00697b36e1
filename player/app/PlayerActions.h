// The player's actions in one table: every way a user reaches an action (a
// skin button or hot region, a menu command of the main popup, the tray, the
// playlist's or the video window's menu, a key of either window, a media key)
// and the one rule that says whether menus show it checked or greyed.
// Windows turn what arrived into an action here and perform it; a new command
// is one row of the table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/EngineState.h"
#include "platform/framework/MessageMap.h"

namespace velk {

enum class Action : uint8_t {
  None,
  // Transport and volume.
  Previous, Play, PauseResume, Stop, Next, VolumeUp, VolumeDown, SeekAtClick, VolumeAtClick,
  // The playlist.
  OpenFiles, OpenPlayList, SavePlayList, AddFiles, AddFolder, AddLocation, RemoveSelected, CropSelected,
  ClearPlayList, SelectAll, SelectNone, InvertSelection, SortAscending, SortDescending, PlayThis, DeleteThis,
  RepeatNone, RepeatThis, RepeatAll, ToggleRepeatThis, Shuffle, BlankBackground, BackgroundPicture,
  // The main window.
  Options, HomePage, Minimize, Exit, FocusPlayList,
  // The video window's own.
  Size50, Size100, Size200, EnterFullScreen, ToggleFullScreen, LeaveFullScreen, KeepRatio,
  CaptionNone, CaptionWindow, CaptionOverlay,
  // The playing item's captions in time.
  CaptionsEarlier, CaptionsLater, CaptionsInTime,
  Count
};

// Which ids reach an action. Zero fills the unused places.
struct ActionRoute {
  Action action;
  const char* what;        // the action in words
  uint32_t messages[2];    // window messages: skin buttons, hot regions, title-bar dots, the view's requests
  uint32_t commands[2];    // menu commands (the tray shows the main popup)
  uint32_t keys[2];        // virtual keys of the main window (the video window passes these on)
  uint32_t videoKey;       // virtual key the video window keeps for itself
  uint32_t mediaKey;       // WM_APPCOMMAND command
  bool marked;             // menus show its state
  bool videoWindow;        // performed by the video window; the main window performs the others
};

// The table, one row per action from Previous on, in the enum's order.
const ActionRoute* ActionRoutes(uint32_t* count);
const ActionRoute& RouteOf(Action action);

Action ActionOfMessage(uint32_t message);
Action ActionOfCommand(uint32_t command);
// The windows' message tables ask these: a window message, or a menu command,
// that the table gives an action.
bool IsActionMessage(const fw::MsgKey& key);
bool IsActionCommand(const fw::MsgKey& key);
// Key releases of the main window: letters whatever the shift state; letters
// and Space do nothing while Ctrl or Alt is held (Ctrl+C is not a pause).
Action ActionOfKey(uint32_t virtualKey, bool ctrlOrAlt = false);
Action ActionOfVideoKey(uint32_t virtualKey);
// Play/pause pauses or resumes an open item and starts one otherwise; pause
// acts only on a running item.
Action ActionOfMediaKey(uint32_t appCommand, EngineState engine);
// The main window's message for an action (its skin button), or 0: how the
// video window hands the main window's actions over.
uint32_t MessageOf(Action action);

// The tooltip of a skin button or hot region (its message id) of the main
// window or the video window: the action in words and the keys that reach it
// there; the buttons with a menu or a dialog say what it holds. Empty for
// anything else.
std::string TipOf(uint32_t message, bool videoWindow);

// The keys that reach an action in the main window or in the video window
// (which keeps its own and passes the main window's on), as "V, Esc"; empty
// for an action no key reaches there.
std::string KeysOf(Action action, bool videoWindow);

// What menus show, from a snapshot of the player taken when a menu opens.
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

CommandState StateOf(Action action, const PlayerSnapshot& player);
// The state of a menu command, or nothing for a command that carries no mark.
std::optional<CommandState> CommandStateOf(uint32_t commandId, const PlayerSnapshot& player);

}  // namespace velk
