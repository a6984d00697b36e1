// The one rule that marks every menu of the player: which commands are checked
// or greyed for a few snapshots of the player.
#include <gtest/gtest.h>

#include "player/app/MenuMarks.h"
#include "player/res/ResourceIds.h"

namespace velk {
namespace {

TEST(MenuMarks, CommandStatesFollowThePlayer) {
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
      {&busy, ID_VIDEO_KEEP_RATIO, true, true},   {&busy, ID_VIDEO_FULL_SCREEN, true, true},
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

}  // namespace
}  // namespace velk
