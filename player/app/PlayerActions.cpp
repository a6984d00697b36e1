#include "player/app/PlayerActions.h"

#include <iterator>

#include "player/res/ResourceIds.h"
#include "shared/PlayerMessages.h"

namespace velk {

namespace {

// Virtual-key and WM_APPCOMMAND codes, so that this file needs no system header.
constexpr uint32_t kReturn = 0x0D, kEscape = 0x1B, kSpace = 0x20, kLeft = 0x25, kUp = 0x26, kRight = 0x27,
                   kDown = 0x28, kDelete = 0x2E, kAdd = 0x6B, kSubtract = 0x6D;
constexpr uint32_t kMediaVolumeDown = 9, kMediaVolumeUp = 10, kMediaNext = 11, kMediaPrevious = 12,
                   kMediaStop = 13, kMediaPlayPause = 14, kMediaPlay = 46, kMediaPause = 47;

constexpr bool kMarked = true, kVideo = true;

// clang-format off
constexpr ActionRoute kRoutes[] = {
  // action                    what                      messages                                   commands                                     keys                   video key media key
  {Action::Previous,          "Previous",               {ID_BTN_PREV},                             {ID_PREV, ID_VIDEO_PLAYBACK_PREV},                    {'Z'},                 0, kMediaPrevious, false, false},
  {Action::Play,              "Play",                   {ID_BTN_PLAY, WM_PLAYER_PLAYSELECTED},     {ID_PLAY, ID_VIDEO_PLAYBACK_PLAY},                    {'X', kReturn},        0, kMediaPlay, false, false},
  {Action::PauseResume,       "Pause or resume",        {ID_BTN_PAUSE},                            {ID_PAUSE, ID_VIDEO_PLAYBACK_PAUSE},                  {'C', kSpace},         0, kMediaPause, false, false},
  {Action::Stop,              "Stop",                   {ID_BTN_STOP, ID_VIDEO_STOP},              {ID_STOP, ID_VIDEO_PLAYBACK_STOP},                {'V', kEscape},        0, kMediaStop, false, false},
  {Action::Next,              "Next",                   {ID_BTN_NEXT},                             {ID_NEXT, ID_VIDEO_PLAYBACK_NEXT},                    {'B'},                 0, kMediaNext, false, false},
  {Action::VolumeUp,          "Volume up",              {ID_BTN_VOLUP},                            {},                                          {kRight},              0, kMediaVolumeUp, false, false},
  {Action::VolumeDown,        "Volume down",            {ID_BTN_VOLDOWN},                          {},                                          {kLeft},               0, kMediaVolumeDown, false, false},
  {Action::SeekAtClick,       "Seek",                   {ID_AREA_SEEK},                            {},                                          {},                    0, 0, false, false},
  {Action::VolumeAtClick,     "Volume",                 {ID_AREA_VOLUME},                          {},                                          {},                    0, 0, false, false},
  {Action::OpenFiles,         "Open files",             {ID_BTN_OPEN},                             {},                                          {},                    0, 0, false, false},
  {Action::OpenPlayList,      "Load a playlist",        {ID_BTN_OPENLIST},                         {ID_OPEN_PLAYLIST},                          {},                    0, 0, false, false},
  {Action::SavePlayList,      "Save the playlist",      {},                                        {ID_SAVE_PLAYLIST},                          {},                    0, 0, false, false},
  {Action::AddFiles,          "Add files",              {ID_BTN_ADD},                              {ID_ADD_FILES},                              {kAdd},                0, 0, false, false},
  {Action::AddFolder,         "Add a folder",           {},                                        {ID_ADD_DIRECTORY},                          {},                    0, 0, false, false},
  {Action::AddLocation,       "Add a location",         {},                                        {ID_ADD_LOCATION},                           {},                    0, 0, false, false},
  {Action::RemoveSelected,    "Remove the selected",    {ID_BTN_REMOVE},                           {ID_REMOVE_SELECTED},                        {kDelete, kSubtract},  0, 0, false, false},
  {Action::CropSelected,      "Keep only the selected", {},                                        {ID_CROP_SELECTED},                          {},                    0, 0, false, false},
  {Action::ClearPlayList,     "Clear the playlist",     {},                                        {ID_CLEAR_PLAYLIST, ID_NEW_PLAYLIST},        {},                    0, 0, false, false},
  {Action::SelectAll,         "Select all",             {ID_BTN_SELECT},                           {ID_SELECT_ALL},                             {},                    0, 0, false, false},
  {Action::SelectNone,        "Select none",            {},                                        {ID_SELECT_NONE},                            {},                    0, 0, false, false},
  {Action::InvertSelection,   "Invert the selection",   {},                                        {ID_INVERT_SELECTION},                       {},                    0, 0, false, false},
  {Action::SortAscending,     "Sort A to Z",            {},                                        {ID_SORT_ASCENDING},                         {},                    0, 0, false, false},
  {Action::SortDescending,    "Sort Z to A",            {},                                        {ID_SORT_DESCENDING},                        {},                    0, 0, false, false},
  {Action::PlayThis,          "Play this",              {},                                        {ID_PLAY_THIS},                              {},                    0, 0, kMarked, false},
  {Action::DeleteThis,        "Delete this",            {},                                        {ID_DELETE_THIS},                            {},                    0, 0, kMarked, false},
  {Action::RepeatNone,        "No repeat",              {},                                        {ID_REPEAT_NONE},                            {},                    0, 0, kMarked, false},
  {Action::RepeatThis,        "Repeat this",            {},                                        {ID_REPEAT_THIS},                            {},                    0, 0, kMarked, false},
  {Action::RepeatAll,         "Repeat all",             {},                                        {ID_REPEAT_ALL},                             {},                    0, 0, kMarked, false},
  {Action::ToggleRepeatThis,  "Repeat this on or off",  {WM_PLAYER_TOGGLEREPEATTHIS},              {ID_REPEAT_THIS_TOGGLE},                     {},                    0, 0, kMarked, false},
  {Action::Shuffle,           "Shuffle",                {},                                        {ID_SHUFFLE},                                {},                    0, 0, kMarked, false},
  {Action::BlankBackground,   "Plain background",       {},                                        {ID_BACKGROUND_BLANK},                       {},                    0, 0, false, false},
  {Action::BackgroundPicture, "Background picture",     {},                                        {ID_BACKGROUND_IMAGE},                       {},                    0, 0, false, false},
  {Action::Options,           "Options",                {ID_BTN_OPTIONS},                          {},                                          {},                    0, 0, false, false},
  {Action::HomePage,          "Home page",              {},                                        {ID_HOME_PAGE},                              {},                    0, 0, false, false},
  {Action::Minimize,          "Minimise",               {ID_SKIN_MINIMIZE},                        {},                                          {},                    0, 0, false, false},
  {Action::Exit,              "Close",                  {ID_SKIN_CLOSE},                           {ID_APP_EXIT},                               {},                    0, 0, false, false},
  {Action::FocusPlayList,     "To the playlist",        {},                                        {},                                          {kUp, kDown},          0, 0, false, false},
  {Action::Size50,            "50% size",               {},                                        {ID_VIDEO_SIZE_50},                          {},                    '1', 0, kMarked, kVideo},
  {Action::Size100,           "100% size",              {},                                        {ID_VIDEO_SIZE_100},                         {},                    '2', 0, kMarked, kVideo},
  {Action::Size200,           "200% size",              {},                                        {ID_VIDEO_SIZE_200},                         {},                    '3', 0, kMarked, kVideo},
  {Action::EnterFullScreen,   "Full screen",            {},                                        {ID_VIDEO_ENTER_FULL_SCREEN},                      {},                    0, 0, kMarked, kVideo},
  {Action::ToggleFullScreen,  "Full screen on or off",  {ID_VIDEO_FULLSCREEN},                     {},                                          {},                    0, 0, false, kVideo},
  {Action::LeaveFullScreen,   "Leave full screen",      {},                                        {},                                          {},                    kEscape, 0, false, kVideo},
  {Action::KeepRatio,         "Keep ratio",             {},                                        {ID_VIDEO_KEEP_RATIO},                       {},                    0, 0, kMarked, kVideo},
  {Action::CaptionNone,       "No captions",            {},                                        {ID_CAPTION_NONE},                           {},                    0, 0, kMarked, kVideo},
  {Action::CaptionWindow,     "Captions below",         {},                                        {ID_CAPTION_WINDOW},                         {},                    0, 0, kMarked, kVideo},
  {Action::CaptionOverlay,    "Captions on the picture",{},                                        {ID_CAPTION_OVERLAY},                        {},                    0, 0, kMarked, kVideo},
  {Action::CaptionsEarlier,   "Captions earlier",       {},                                        {ID_CAPTION_EARLIER},                        {'G'},                 0, 0, false, false},
  {Action::CaptionsLater,     "Captions later",         {},                                        {ID_CAPTION_LATER},                          {'H'},                 0, 0, false, false},
  {Action::CaptionsInTime,    "Captions in time",       {},                                        {ID_CAPTION_IN_TIME},                        {'J'},                 0, 0, false, false},
};
// clang-format on

constexpr bool RowsFollowTheEnum() {
  for (size_t i = 0; i < std::size(kRoutes); ++i) {
    if (static_cast<size_t>(kRoutes[i].action) != i + 1) return false;
  }
  return std::size(kRoutes) + 1 == static_cast<size_t>(Action::Count);
}
static_assert(RowsFollowTheEnum(), "one row per action, in the enum's order");

template <size_t N>
bool Holds(const uint32_t (&ids)[N], uint32_t id) {
  if (id == 0) return false;
  for (uint32_t held : ids) {
    if (held == id) return true;
  }
  return false;
}

template <typename Match>
Action Find(Match match) {
  for (const ActionRoute& row : kRoutes) {
    if (match(row)) return row.action;
  }
  return Action::None;
}

}  // namespace

const ActionRoute* ActionRoutes(uint32_t* count) {
  if (count) *count = static_cast<uint32_t>(std::size(kRoutes));
  return kRoutes;
}

const ActionRoute& RouteOf(Action action) {
  static constexpr ActionRoute kNone{Action::None, "", {}, {}, {}, 0, 0, false, false};
  const size_t index = static_cast<size_t>(action);
  return index >= 1 && index <= std::size(kRoutes) ? kRoutes[index - 1] : kNone;
}

Action ActionOfMessage(uint32_t message) {
  return Find([&](const ActionRoute& row) { return Holds(row.messages, message); });
}

Action ActionOfCommand(uint32_t command) {
  return Find([&](const ActionRoute& row) { return Holds(row.commands, command); });
}

bool IsActionMessage(const fw::MsgKey& key) {
  return !key.isCommand && !key.isNotify && ActionOfMessage(key.message) != Action::None;
}

bool IsActionCommand(const fw::MsgKey& key) { return key.isCommand && ActionOfCommand(key.id) != Action::None; }

Action ActionOfKey(uint32_t key, bool ctrlOrAlt) {
  if (ctrlOrAlt && ((key >= 'A' && key <= 'Z') || key == kSpace)) return Action::None;
  return Find([&](const ActionRoute& row) { return Holds(row.keys, key); });
}

Action ActionOfVideoKey(uint32_t key) {
  return key == 0 ? Action::None : Find([&](const ActionRoute& row) { return row.videoKey == key; });
}

Action ActionOfMediaKey(uint32_t appCommand, EngineState engine) {
  switch (appCommand) {
    case kMediaPlayPause:
      return engine == EngineState::Stopped || engine == EngineState::Absent ? Action::Play : Action::PauseResume;
    case kMediaPause: return engine == EngineState::Running ? Action::PauseResume : Action::None;
    default:
      return appCommand == 0 ? Action::None
                             : Find([&](const ActionRoute& row) { return row.mediaKey == appCommand; });
  }
}

uint32_t MessageOf(Action action) { return RouteOf(action).messages[0]; }

namespace {

std::string KeyName(uint32_t key) {
  switch (key) {
    case kReturn: return "Enter";
    case kEscape: return "Esc";
    case kSpace: return "Space";
    case kLeft: return "Left";
    case kRight: return "Right";
    case kUp: return "Up";
    case kDown: return "Down";
    case kDelete: return "Delete";
    case kAdd: return "Num +";
    case kSubtract: return "Num -";
    default: return std::string(1, static_cast<char>(key));
  }
}

// The keys that reach an action from a window: the video window keeps its own
// and passes the main window's on, except those it keeps for itself.
std::string KeysOf(const ActionRoute& row, bool videoWindow) {
  std::string keys;
  auto add = [&](uint32_t key) {
    if (key == 0) return;
    if (!keys.empty()) keys += ", ";
    keys += KeyName(key);
  };
  for (uint32_t key : row.keys) {
    if (!videoWindow || ActionOfVideoKey(key) == Action::None) add(key);
  }
  if (videoWindow) add(row.videoKey);
  return keys;
}

}  // namespace

std::string KeysOf(Action action, bool videoWindow) { return KeysOf(RouteOf(action), videoWindow); }

std::string TipOf(uint32_t message, bool videoWindow) {
  // What the buttons with a right-click menu or a dialog hold.
  static constexpr struct {
    uint32_t message;
    const char* holds;
  } kHolds[] = {
      {ID_BTN_OPENLIST, "right-click: open, save or clear the playlist"},
      {ID_BTN_ADD, "right-click: add files, a folder or a location"},
      {ID_BTN_REMOVE, "right-click: remove or crop the selected, clear the playlist"},
      {ID_BTN_SELECT, "right-click: select all or none, invert the selection"},
      {ID_BTN_OPTIONS, "skins and colours, the playlist's look, about"},
      {ID_BTN_OPEN, "they replace the playlist and play"},
      {ID_AREA_SEEK, "click where to play from"},
      {ID_AREA_VOLUME, "click the level"},
      {ID_VIDEO_FULLSCREEN, "Esc leaves it"},
  };
  if (message == WM_SKIN_RESIZEDRAG) return "Drag to resize";
  const Action action = ActionOfMessage(message);
  if (action == Action::None) return {};
  const ActionRoute& row = RouteOf(action);
  std::string tip = row.what;
  const std::string keys = KeysOf(row, videoWindow);
  if (!keys.empty()) tip += " (" + keys + ")";
  for (const auto& extra : kHolds) {
    if (extra.message == message) tip += std::string(": ") + extra.holds;
  }
  return tip;
}

CommandState StateOf(Action action, const PlayerSnapshot& p) {
  auto checkedIf = [](bool on) { return CommandState{true, on}; };
  switch (action) {
    case Action::RepeatNone: return checkedIf(p.repeatMode == 0);
    case Action::RepeatThis:
    case Action::ToggleRepeatThis: return checkedIf(p.repeatMode == 1);
    case Action::RepeatAll: return checkedIf(p.repeatMode == 2);
    case Action::Shuffle: return checkedIf(p.shuffle);
    case Action::PlayThis:
    case Action::DeleteThis: return CommandState{p.onRow, false};
    case Action::CaptionNone: return checkedIf(p.captionMode != 1 && p.captionMode != 2);
    case Action::CaptionWindow: return checkedIf(p.captionMode == 1);
    case Action::CaptionOverlay: return checkedIf(p.captionMode == 2);
    case Action::KeepRatio: return checkedIf(p.keepAspect);
    case Action::Size50: return checkedIf(p.sizeEntry == 0);
    case Action::Size100: return checkedIf(p.sizeEntry == 1);
    case Action::Size200: return checkedIf(p.sizeEntry == 2);
    case Action::EnterFullScreen: return checkedIf(p.sizeEntry == 3);
    default: return CommandState{};
  }
}

std::optional<CommandState> CommandStateOf(uint32_t commandId, const PlayerSnapshot& player) {
  const Action action = ActionOfCommand(commandId);
  if (!RouteOf(action).marked) return std::nullopt;
  return StateOf(action, player);
}

}  // namespace velk
