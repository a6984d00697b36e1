// The table of the player's actions: which ids, keys and media keys reach each
// action, and the one rule that marks every menu (checked or greyed) for a few
// snapshots of the player.
#include <gtest/gtest.h>

#include "player/app/PlayerActions.h"

#include <fstream>
#include <map>
#include <utility>

#include "player/res/ResourceIds.h"
#include "shared/PlayerMessages.h"

namespace velk {
namespace {

TEST(PlayerActions, CommandStatesFollowThePlayer) {
  PlayerSnapshot idle;  // nothing set: repeat none, no shuffle, caption none, not over a row
  PlayerSnapshot busy;
  busy.repeatMode = 1;
  busy.shuffle = true;
  busy.onRow = true;
  busy.captionMode = 2;
  busy.keepAspect = true;
  busy.sizeEntry = 3;
  PlayerSnapshot odd;  // values the settings may hold but no menu item stands for
  odd.repeatMode = 7;
  odd.captionMode = 5;
  odd.sizeEntry = -1;

  const struct {
    const PlayerSnapshot* player;
    uint32_t id;
    bool enabled, checked;
  } rows[] = {
      {&idle, ID_REPEAT_NONE, true, true},       {&idle, ID_REPEAT_THIS, true, false},
      {&idle, ID_SHUFFLE, true, false},           {&idle, ID_PLAY_THIS, false, false},
      {&idle, ID_DELETE_THIS, false, false},      {&idle, ID_REPEAT_THIS_TOGGLE, true, false},
      {&idle, ID_CAPTION_NONE, true, true},       {&idle, ID_VIDEO_KEEP_RATIO, true, false},
      {&idle, ID_VIDEO_SIZE_50, true, false},     {&busy, ID_REPEAT_THIS, true, true},
      {&busy, ID_REPEAT_ALL, true, false},        {&busy, ID_SHUFFLE, true, true},
      {&busy, ID_PLAY_THIS, true, false},         {&busy, ID_REPEAT_THIS_TOGGLE, true, true},
      {&busy, ID_CAPTION_OVERLAY, true, true},    {&busy, ID_CAPTION_NONE, true, false},
      {&busy, ID_VIDEO_KEEP_RATIO, true, true},   {&busy, ID_VIDEO_ENTER_FULL_SCREEN, true, true},
      {&busy, ID_VIDEO_SIZE_200, true, false},    {&odd, ID_REPEAT_NONE, true, false},
      {&odd, ID_REPEAT_ALL, true, false},         {&odd, ID_CAPTION_NONE, true, true},
      {&odd, ID_VIDEO_SIZE_100, true, false},
  };
  for (const auto& r : rows) {
    const auto state = CommandStateOf(r.id, *r.player);
    ASSERT_TRUE(state.has_value()) << r.id;
    EXPECT_EQ(state->enabled, r.enabled) << r.id;
    EXPECT_EQ(state->checked, r.checked) << r.id;
  }
  for (uint32_t unmarked : {uint32_t{ID_PLAY}, uint32_t{ID_ADD_FILES}, uint32_t{ID_SKIN_BASE}, 0u}) {
    EXPECT_FALSE(CommandStateOf(unmarked, busy).has_value()) << unmarked;
  }
}

TEST(PlayerActions, KeysActAsTheirButtons) {
  const struct {
    uint32_t key;
    Action action;
    uint32_t button;
  } cases[] = {
      {'Z', Action::Previous, ID_BTN_PREV},        {'X', Action::Play, ID_BTN_PLAY},
      {0x0D, Action::Play, ID_BTN_PLAY},           {'C', Action::PauseResume, ID_BTN_PAUSE},
      {0x20, Action::PauseResume, ID_BTN_PAUSE},   {'V', Action::Stop, ID_BTN_STOP},
      {0x1B, Action::Stop, ID_BTN_STOP},           {'B', Action::Next, ID_BTN_NEXT},
      {0x2E, Action::RemoveSelected, ID_BTN_REMOVE}, {0x6D, Action::RemoveSelected, ID_BTN_REMOVE},
      {0x6B, Action::AddFiles, ID_BTN_ADD},        {0x27, Action::VolumeUp, ID_BTN_VOLUP},
      {0x25, Action::VolumeDown, ID_BTN_VOLDOWN},  {0x26, Action::FocusPlayList, 0},
      {0x28, Action::FocusPlayList, 0},            {'A', Action::None, 0},
      {'z', Action::None, 0},  // not a virtual-key code: letters arrive as capitals
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ActionOfKey(c.key), c.action) << c.key;
    EXPECT_EQ(MessageOf(ActionOfKey(c.key)), c.button) << c.key;
  }
  // Letters and Space do nothing with Ctrl or Alt held; other keys keep their meaning.
  for (uint32_t key : {uint32_t{'Z'}, uint32_t{'C'}, uint32_t{'V'}, uint32_t{0x20}}) {
    EXPECT_EQ(ActionOfKey(key, true), Action::None) << key;
  }
  EXPECT_EQ(MessageOf(ActionOfKey(0x2E, true)), ID_BTN_REMOVE);
  EXPECT_EQ(MessageOf(ActionOfKey(0x0D, true)), ID_BTN_PLAY);
  // The video window keeps Esc, 1, 2 and 3; Space is not one of its keys.
  EXPECT_EQ(ActionOfVideoKey(0x1B), Action::LeaveFullScreen);
  EXPECT_EQ(ActionOfVideoKey('3'), Action::Size200);
  EXPECT_EQ(ActionOfVideoKey(0x20), Action::None);
}

TEST(PlayerActions, MediaKeysActAsTheTransportButtons) {
  const struct {
    uint32_t command;
    EngineState state;
    uint32_t button;
  } cases[] = {
      {14, EngineState::Stopped, ID_BTN_PLAY},   {14, EngineState::Paused, ID_BTN_PAUSE},
      {14, EngineState::Running, ID_BTN_PAUSE},  {46, EngineState::Paused, ID_BTN_PLAY},
      {47, EngineState::Running, ID_BTN_PAUSE},  {47, EngineState::Paused, 0},
      {47, EngineState::Stopped, 0},             {13, EngineState::Running, ID_BTN_STOP},
      {11, EngineState::Stopped, ID_BTN_NEXT},   {12, EngineState::Running, ID_BTN_PREV},
      {10, EngineState::Stopped, ID_BTN_VOLUP},  {9, EngineState::Stopped, ID_BTN_VOLDOWN},
      {8, EngineState::Running, 0},  // mute: the player has none
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MessageOf(ActionOfMediaKey(c.command, c.state)), c.button)
        << c.command << "/" << static_cast<int>(c.state);
  }
}

// Every id reaches one action only, and the lookups find each row by each of its ids.
TEST(PlayerActions, EveryIdReachesOneAction) {
  uint32_t count = 0;
  const ActionRoute* rows = ActionRoutes(&count);
  ASSERT_EQ(count + 1, static_cast<uint32_t>(Action::Count));
  std::map<std::pair<int, uint32_t>, Action> seen;
  auto claim = [&](int route, uint32_t id, Action action) {
    if (id == 0) return;
    const auto [it, fresh] = seen.emplace(std::make_pair(route, id), action);
    EXPECT_TRUE(fresh) << "route " << route << " id " << id << " reaches two actions";
  };
  for (uint32_t i = 0; i < count; ++i) {
    const ActionRoute& row = rows[i];
    EXPECT_EQ(&RouteOf(row.action), &row);
    for (uint32_t id : row.messages) {
      claim(0, id, row.action);
      if (id) {
        EXPECT_EQ(ActionOfMessage(id), row.action) << id;
      }
    }
    for (uint32_t id : row.commands) {
      claim(1, id, row.action);
      if (id) {
        EXPECT_EQ(ActionOfCommand(id), row.action) << id;
      }
    }
    for (uint32_t key : row.keys) claim(2, key, row.action);
    claim(3, row.videoKey, row.action);
    claim(4, row.mediaKey, row.action);
    // What the video window hands over, the main window takes back as the same action.
    if (!row.videoWindow && MessageOf(row.action)) {
      EXPECT_EQ(ActionOfMessage(MessageOf(row.action)), row.action);
    }
  }
}

// Tooltips name the action and the keys that reach it from that window.
TEST(PlayerActions, TipsNameTheActionAndItsKeys) {
  const struct {
    uint32_t message;
    bool video;
    const char* tip;
  } rows[] = {
      {ID_BTN_PLAY, false, "Play (X, Enter)"},
      {ID_BTN_REMOVE, false, "Remove the selected (Delete, Num -): right-click: remove or crop the selected, "
                             "clear the playlist"},
      {ID_BTN_OPTIONS, false, "Options: skins and colours, the playlist's look, about"},
      {ID_VIDEO_STOP, true, "Stop (V)"},  // Esc leaves full screen there
      {ID_VIDEO_FULLSCREEN, true, "Full screen on or off: Esc leaves it"},
      {WM_SKIN_RESIZEDRAG, true, "Drag to resize"},
      {0x9999, false, ""},
  };
  for (const auto& r : rows) EXPECT_EQ(TipOf(r.message, r.video), r.tip) << r.message;
}

// The README's table of keys is this table's; when they differ, the message
// holds the rows to paste there.
TEST(PlayerActions, TheReadmeListsEveryKeyOfTheTable) {
  uint32_t count = 0;
  const ActionRoute* routes = ActionRoutes(&count);
  std::string rows, documented, line;
  for (uint32_t i = 0; i < count; ++i) {
    const std::string main = KeysOf(routes[i].action, false), video = KeysOf(routes[i].action, true);
    if (!main.empty() || !video.empty()) rows += "| " + std::string(routes[i].what) + " | " + main + " | " + video + " |\n";
  }
  std::ifstream readme(VELK_SOURCE_DIR "/README.md");
  for (bool inKeys = false; std::getline(readme, line);) {
    if (line.rfind("## ", 0) == 0) inKeys = line == "## Keys";
    else if (inKeys && line.rfind("| ", 0) == 0 && line.rfind("| Action |", 0) != 0) documented += line + "\n";
  }
  EXPECT_EQ(documented, rows);
}

}  // namespace
}  // namespace velk
