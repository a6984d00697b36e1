#include <set>

#include "player/playlist/PlayerCommands.h"
#include "tests/unit/playlist/PlayListFixture.h"

namespace velk::testing {
namespace {

TEST(Navigation, InPlaylistOrder) {
  struct Row {
    int32_t repeat;
    NavStep code;
    int32_t current, expectCurrent;
    NavResult expectResult;
  } rows[] = {
      {REPEAT_NONE, NavStep::Advance, 2, 3, NavResult::Play},
      {REPEAT_NONE, NavStep::Advance, 4, 0, NavResult::End},   // the last entry ended: stop, back at the top
      {REPEAT_THIS, NavStep::Advance, 2, 2, NavResult::Play},
      {REPEAT_ALL, NavStep::Advance, 4, 0, NavResult::Play},
      {7, NavStep::Advance, 4, 5, NavResult::Play},              // an unknown mode just moves on
      {REPEAT_NONE, NavStep::Previous, 0, 0, NavResult::Play},
      {REPEAT_THIS, NavStep::Previous, 2, 1, NavResult::Play},
      {REPEAT_ALL, NavStep::Previous, 0, 4, NavResult::Play},
      {REPEAT_NONE, NavStep::Next, 4, 4, NavResult::Play},
      {REPEAT_THIS, NavStep::Next, 2, 3, NavResult::Play},
      {REPEAT_ALL, NavStep::Next, 4, 0, NavResult::Play},
      {REPEAT_NONE, NavStep::Keep, 3, 3, NavResult::Play},
      {REPEAT_NONE, NavStep::Keep, -1, 0, NavResult::Play},    // no current entry: the first one
  };
  for (const Row& row : rows) {
    PlayListRig r;
    r.Fill(5);
    r.list->SetRepeatMode(row.repeat);
    r.list->SetCurrentTrack(row.current);
    EXPECT_EQ(r.list->Navigate(row.code), row.expectResult) << row.repeat << "/" << static_cast<int>(row.code) << "/" << row.current;
    EXPECT_EQ(r.list->CurrentTrack(), row.expectCurrent) << row.repeat << "/" << static_cast<int>(row.code) << "/" << row.current;
  }
  PlayListRig empty;
  for (NavStep code : {NavStep::Advance, NavStep::Keep, NavStep::Previous, NavStep::Next}) EXPECT_EQ(empty.list->Navigate(code), NavResult::Empty);
}

// Plays through by ends of media and returns the entries that played.
std::vector<int32_t> EndsOfMedia(PlayListRig& r, int times) {
  std::vector<int32_t> played;
  for (int i = 0; i < times; ++i) {
    r.now += 1;
    EngineRequest req = RequestAtEndOfMedia(*r.list);
    EXPECT_TRUE(req.stop);
    if (req.path.empty()) break;
    played.push_back(r.list->CurrentTrack());
  }
  return played;
}

TEST(Navigation, ShuffleSwitchedOnWhilePlayingKeepsThePlayingEntryAndDrawsTheOthersOnce) {
  for (int64_t start : {0, 77, 12345}) {
    PlayListRig r;
    r.now = start;
    r.Fill(5);
    r.list->SetCurrentTrack(2);
    r.list->SetCurrentEntry(2);
    ToggleShuffle(*r.list, EngineState::Running);
    ASSERT_TRUE(r.list->Shuffle());
    EXPECT_EQ(r.list->CurrentTrack(), 2);  // pause, resume and the title stay on it
    r.list->Navigate(NavStep::Previous);        // the first of the history: nothing before it
    EXPECT_EQ(r.list->CurrentTrack(), 2);
    std::vector<int32_t> played = EndsOfMedia(r, 6);
    EXPECT_EQ(played.size(), 4u);
    std::set<int32_t> others(played.begin(), played.end());
    EXPECT_EQ(others.size(), 4u);
    EXPECT_EQ(others.count(2), 0u);
    EXPECT_EQ(r.list->Navigate(NavStep::Advance), NavResult::End);
  }
}

TEST(Navigation, ShuffleSwitchedOnWhileStoppedDrawsFromTheFreshOrder) {
  PlayListRig r;
  r.Fill(5);
  r.list->SetCurrentTrack(0);
  ToggleShuffle(*r.list, EngineState::Stopped);
  EXPECT_EQ(r.list->Remaining(), 4);  // the current entry was drawn
  const int32_t first = r.list->CurrentTrack();
  std::vector<int32_t> played = EndsOfMedia(r, 5);
  std::set<int32_t> others(played.begin(), played.end());
  EXPECT_EQ(played.size(), 4u);
  EXPECT_EQ(others.size(), 4u);
  EXPECT_EQ(others.count(first), 0u);
}

TEST(Navigation, RepeatAllStartsANewShufflePassWhenAllWereDrawn) {
  PlayListRig r;
  r.Fill(4);
  r.list->SetRepeatMode(REPEAT_ALL);
  r.list->SetCurrentTrack(0);
  ToggleShuffle(*r.list, EngineState::Running);
  std::vector<int32_t> played = EndsOfMedia(r, 11);
  played.insert(played.begin(), 0);  // the playing entry opens the first pass
  ASSERT_EQ(played.size(), 12u);
  for (size_t pass = 0; pass < 3; ++pass) {
    std::set<int32_t> seen(played.begin() + static_cast<std::ptrdiff_t>(pass * 4),
                           played.begin() + static_cast<std::ptrdiff_t>(pass * 4 + 4));
    EXPECT_EQ(seen.size(), 4u) << "pass " << pass;
  }
}

TEST(Navigation, PreviousAndNextWalkTheShuffleHistoryBeforeDrawing) {
  PlayListRig r;
  r.Fill(6);
  ToggleShuffle(*r.list, EngineState::Running);
  std::vector<int32_t> drawn = EndsOfMedia(r, 3);
  ASSERT_EQ(drawn.size(), 3u);
  r.list->Navigate(NavStep::Previous);
  EXPECT_EQ(r.list->CurrentTrack(), drawn[1]);
  r.list->Navigate(NavStep::Previous);
  EXPECT_EQ(r.list->CurrentTrack(), drawn[0]);
  r.list->Navigate(NavStep::Previous);  // the oldest drawn entry is as far back as it goes
  EXPECT_EQ(r.list->CurrentTrack(), drawn[0]);
  r.list->Navigate(NavStep::Next);
  r.list->Navigate(NavStep::Next);
  EXPECT_EQ(r.list->CurrentTrack(), drawn[2]);
  EXPECT_EQ(r.list->Remaining(), 3);
  r.list->Navigate(NavStep::Next);  // at the newest: draw
  EXPECT_EQ(r.list->Remaining(), 2);
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), r.list->CurrentTrack()), 0);
}

TEST(Navigation, DrawsAreSeededWithTheTimeInSeconds) {
  std::set<int32_t> values;
  for (uint32_t seed = 0; seed < 2000; ++seed) {
    int32_t v = ShuffleRandom(seed);
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
    values.insert(v);
  }
  EXPECT_GT(values.size(), 1900u);
  PlayListRig r;
  r.Fill(7);
  r.list->SwitchShuffleOn();
  r.now = 424242;
  r.list->DrawShuffle();
  EXPECT_EQ(r.list->CurrentTrack(), ShuffleRandom(424242) % 7);
  std::vector<uint32_t> before = r.list->ShuffleOrder();
  r.list->DrawShuffle();  // the same second: the same number, now taken modulo 6
  EXPECT_EQ(static_cast<uint32_t>(r.list->CurrentTrack()), before[static_cast<size_t>(ShuffleRandom(424242) % 6)]);
  EXPECT_EQ(r.list->ShuffleOrder()[6], static_cast<uint32_t>(r.list->CurrentTrack()));
}

TEST(Navigation, EndOfTheListWithoutRepeatMarksTheFirstEntry) {
  PlayListRig r;
  r.Fill(3);
  r.list->SetCurrentTrack(2);
  r.list->SetCurrentEntry(2);
  EngineRequest req = RequestAtEndOfMedia(*r.list);
  EXPECT_TRUE(req.stop);
  EXPECT_TRUE(req.path.empty());  // nothing new starts on the stopped engine
  EXPECT_EQ(r.list->CurrentTrack(), 0);
  EXPECT_EQ(r.view.playingIndex, 0);
  EXPECT_EQ(r.view.title, "a.mp3");
}

TEST(Navigation, PreviousAndNextDependOnTheEngine) {
  PlayListRig r;
  r.Fill(3);
  r.list->SetCurrentTrack(1);
  EngineRequest req = RequestNext(*r.list, EngineState::Absent);
  EXPECT_FALSE(req.stop || req.play);
  EXPECT_EQ(r.list->CurrentTrack(), 1);
  req = RequestNext(*r.list, EngineState::Stopped);  // moves and marks, plays nothing
  EXPECT_FALSE(req.stop || req.play);
  EXPECT_EQ(r.view.playingIndex, 2);
  req = RequestPrevious(*r.list, EngineState::Paused);
  EXPECT_TRUE(req.stop && req.play);
  EXPECT_EQ(req.path, PlayListRig::Name(1));
}

TEST(Navigation, PauseResumePlayAndDoubleClick) {
  PlayListRig r;
  r.Fill(5);
  r.list->SetCurrentTrack(3);
  EngineRequest req = RequestPauseResume(*r.list, EngineState::Paused);
  EXPECT_TRUE(req.play && !req.stop);
  EXPECT_EQ(req.path, PlayListRig::Name(3));
  EXPECT_TRUE(RequestPauseResume(*r.list, EngineState::Running).pause);
  req = RequestPauseResume(*r.list, EngineState::Stopped);
  EXPECT_FALSE(req.play || req.pause || req.stop);

  r.view.Select({4, 1});
  req = RequestPlaySelected(*r.list);
  EXPECT_EQ(req.path, PlayListRig::Name(1));  // the lowest selected row
  EXPECT_EQ(r.view.playingIndex, 1);
  r.view.Select({});
  req = RequestPlaySelected(*r.list);
  EXPECT_EQ(req.path, PlayListRig::Name(1));

  r.list->SetCurrentTrack(9);  // out of range: the first entry plays
  EngineRequest fix;
  EXPECT_TRUE(PlayByCode(*r.list, NavResult::Play, fix));
  EXPECT_EQ(fix.path, PlayListRig::Name(0));

  ToggleShuffle(*r.list, EngineState::Running);
  req = RequestDoubleClick(*r.list, 3);
  EXPECT_EQ(req.path, PlayListRig::Name(3));
  EXPECT_FALSE(r.list->Shuffle());
  EXPECT_EQ(r.list->CurrentTrack(), 3);
  req = RequestDoubleClick(*r.list, -1);
  EXPECT_FALSE(req.stop || req.play);

  PlayListRig empty;
  EngineRequest none;
  EXPECT_FALSE(PlayByCode(*empty.list, NavResult::Play, none));
  EXPECT_FALSE(none.play);
}

TEST(Navigation, RepeatCommandsAndShuffleOff) {
  PlayListRig r;
  r.Fill(3);
  r.list->SetRepeatMode(REPEAT_ALL);
  EXPECT_EQ(r.list->RepeatMode(), REPEAT_ALL);
  ToggleRepeatThis(*r.list);
  ToggleRepeatThis(*r.list);
  EXPECT_EQ(r.list->RepeatMode(), REPEAT_NONE);
  r.list->SetRepeatMode(REPEAT_THIS);
  EXPECT_EQ(r.list->RepeatMode(), REPEAT_THIS);

  r.list->SetCurrentTrack(0);
  r.list->SetCurrentEntry(0);
  ToggleShuffle(*r.list, EngineState::Running);
  EXPECT_EQ(r.list->CurrentTrack(), 0);  // the playing entry stays current
  ToggleShuffle(*r.list, EngineState::Running);
  EXPECT_FALSE(r.list->Shuffle());
  EXPECT_EQ(r.list->CurrentTrack(), 0);  // back on the playing mark
  PlayListRig empty;
  ToggleShuffle(*empty.list, EngineState::Stopped);
  EXPECT_FALSE(empty.list->Shuffle());
}

}  // namespace
}  // namespace velk::testing
