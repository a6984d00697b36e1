#include <random>

#include "tests/unit/playlist/PlayListFixture.h"

namespace velk::testing {
namespace {

using Strings = std::vector<std::string>;

struct Snapshot {
  Strings paths;
  Strings rows;
  std::vector<uint32_t> order;
  int32_t remaining, current, playing;
  bool operator==(const Snapshot& o) const {
    return paths == o.paths && rows == o.rows && order == o.order && remaining == o.remaining &&
           current == o.current && playing == o.playing;
  }
};

Snapshot Take(const PlayListRig& r) {
  auto count = static_cast<size_t>(r.list->Count());
  std::vector<uint32_t> order = r.list->ShuffleOrder();
  if (order.size() > count) order.resize(count);  // slots past the count are never read
  return {r.list->Paths(), r.view.Texts(), r.list->Shuffle() ? order : std::vector<uint32_t>{},
          r.list->Remaining(), r.list->CurrentTrack(), r.view.playingIndex};
}

TEST(PlayList, AddingInFrontOfThePlayingEntryKeepsItMarked) {
  PlayListRig r;
  r.Fill(4);
  r.list->SetCurrentTrack(2);
  r.list->SetCurrentEntry(2);
  r.list->AddEntry("C:\\M\\x.mp3", 2);  // at the playing row
  EXPECT_EQ(r.list->CurrentTrack(), 3);
  EXPECT_EQ(r.view.playingIndex, 3);
  r.list->AddEntry("C:\\M\\y.mp3", 4);  // after it
  EXPECT_EQ(r.list->CurrentTrack(), 3);
  EXPECT_EQ(r.view.RowText(3), "c.mp3");
  r.ExpectConsistent();
}

TEST(PlayList, AddingWithShuffleOnJoinsTheUndrawnEntries) {
  PlayListRig r;
  r.Fill(5);
  r.list->SwitchShuffleOn();
  r.list->DrawShuffle();
  r.list->DrawShuffle();
  ASSERT_EQ(r.list->Remaining(), 3);
  std::string drawn = r.list->Path(static_cast<int32_t>(r.list->ShuffleOrder()[4]));
  r.list->AddEntry("C:\\M\\new.mp3", 1);
  r.ExpectConsistent();
  EXPECT_EQ(r.list->Remaining(), 4);
  EXPECT_EQ(r.list->ShuffleOrder()[3], 1u);  // the new entry, last of the undrawn ones
  EXPECT_EQ(r.list->Path(static_cast<int32_t>(r.list->ShuffleOrder()[5])), drawn);  // history still names its entry
}

// The order AddEntry gives when a folder is added file by file, written out.
void AddFolderOneByOne(CPlayList& list, IFileSystem& fs, const std::string& folder, int32_t p) {
  std::vector<FolderItem> items;
  if (!fs.ListFolder(folder, items)) return;
  for (const FolderItem& item : items) {
    if (item.name == "." || item.name == "..") continue;
    std::string full = folder + "\\" + item.name;
    if (item.isFolder) {
      AddFolderOneByOne(list, fs, full, p);
    } else if (!IsPlaylistName(full) && !IsCaptionFileName(full)) {
      list.AddEntry(full, p++);
    }
  }
}

TEST(PlayList, AddFolderPutsLaterFilesInFrontOfEarlierSubFolders) {
  PlayListRig r;
  r.files.AddFile("D:\\D\\S1\\x1");
  r.files.AddFile("D:\\D\\a");
  r.files.AddFile("D:\\D\\S2\\x2");
  r.files.AddFile("D:\\D\\b");
  r.files.AddFile("D:\\D\\song.M3U");
  r.files.AddFile("D:\\D\\list.m3u");
  r.files.AddFile("D:\\D\\list.M3u");
  for (const char* caption : {"a.smi", "a.SRT", "b.vtt", "b.sami"}) r.files.AddFile(std::string("D:\\D\\") + caption);
  r.files.AddFile("D:\\D\\Locked\\x3");
  r.files.unlistable.push_back("D:\\D\\Locked");
  // Two links back to the folder itself: never followed, so nothing is added twice.
  for (const char* link : {"Up", "Again"}) r.files.folders["D:\\D"].push_back({link, true, true});
  r.files.folders["D:\\D\\Up"] = r.files.folders["D:\\D\\Again"] = r.files.folders["D:\\D"];
  r.list->AddFolder("D:\\D", 0);
  EXPECT_EQ(r.DisplayTexts(), (Strings{"a", "b", "list.M3u", "x2", "x1"}));
  r.list->AddFolder("D:\\Missing", 0);
  EXPECT_EQ(r.list->Count(), 5);
}

TEST(PlayList, AddFolderMatchesAddingFileByFileAlsoInTheShuffleOrder) {
  std::mt19937 rng(7);
  for (int round = 0; round < 30; ++round) {
    PlayListRig batch, single;
    for (PlayListRig* r : {&batch, &single}) r->Fill(6);
    // A random tree, the same for both.
    std::vector<std::string> folders{"E:\\T"};
    batch.files.AddFolder("E:\\T");
    for (int i = 0; i < 25; ++i) {
      std::string parent = folders[rng() % folders.size()];
      std::string name = parent + "\\n" + std::to_string(i);
      if (rng() % 3 == 0) {
        batch.files.AddFolder(name);
        folders.push_back(name);
      } else {
        batch.files.AddFile(name + (rng() % 5 == 0 ? ".m3u" : ".mp3"));
      }
    }
    single.files = batch.files;
    for (PlayListRig* r : {&batch, &single}) {
      r->list->SwitchShuffleOn();
      r->list->DrawShuffle();
      r->list->SetCurrentTrack(3);
      r->list->SetCurrentEntry(3);
    }
    int32_t at = static_cast<int32_t>(rng() % 7);
    batch.list->AddFolder("E:\\T", at);
    AddFolderOneByOne(*single.list, single.files, "E:\\T", at);
    ASSERT_TRUE(Take(batch) == Take(single)) << "round " << round;
    batch.ExpectConsistent();
  }
}

TEST(PlayList, RemovingTheCurrentEntryMakesThePreviousOneCurrent) {
  PlayListRig r;
  r.Fill(5);
  r.list->SetCurrentTrack(2);
  r.list->SetCurrentEntry(2);
  r.view.Select({2, 4});
  r.list->RemoveEntries(true);
  EXPECT_EQ(r.DisplayTexts(), (Strings{"a.mp3", "b.mp3", "d.mp3"}));
  EXPECT_EQ(r.list->CurrentTrack(), 1);
  EXPECT_EQ(r.view.playingIndex, 1);
  EXPECT_EQ(r.list->Navigate(NavStep::Next), NavResult::Play);  // Next plays what followed the removed one
  EXPECT_EQ(r.list->Path(r.list->CurrentTrack()), PlayListRig::Name(3));

  r.list->SetCurrentTrack(0);
  r.list->SetCurrentEntry(0);
  r.view.Select({0});
  r.list->RemoveEntries(true);
  EXPECT_EQ(r.list->CurrentTrack(), -1);
  EXPECT_EQ(r.view.playingIndex, -1);
}

TEST(PlayList, RemoveAndCropWithNothingSelected) {
  PlayListRig r;
  r.Fill(3);
  r.list->RemoveEntries(true);
  EXPECT_EQ(r.list->Count(), 3);
  r.list->RemoveEntries(false);
  EXPECT_EQ(r.list->Count(), 0);
  EXPECT_EQ(r.view.RowCount(), 0);
  EXPECT_EQ(r.view.fullRedraws, 2);
}

TEST(PlayList, RemovingManyAtOnceMatchesRemovingOneByOne) {
  std::mt19937 rng(11);
  for (int round = 0; round < 40; ++round) {
    PlayListRig batch, single;
    const int n = 12;
    std::vector<bool> selected(n);
    for (int i = 0; i < n; ++i) selected[static_cast<size_t>(i)] = rng() % 2 == 0;
    bool removeSelected = rng() % 2 == 0;
    bool shuffle = rng() % 3 != 0;
    int32_t current = static_cast<int32_t>(rng() % (n + 1)) - 1;
    int draws = static_cast<int>(rng() % 8);
    for (PlayListRig* r : {&batch, &single}) {
      r->Fill(n);
      if (shuffle) r->list->SwitchShuffleOn();
      for (int d = 0; d < draws; ++d) r->list->DrawShuffle();
      r->list->SetCurrentTrack(current);
      r->view.playingIndex = current;
    }
    batch.view.SelectWhere(selected);
    batch.list->RemoveEntries(removeSelected);
    // One entry at a time, walking as the rows shrink.
    std::vector<bool> pending = selected;
    for (size_t i = 0; i < pending.size();) {
      if (pending[i] == removeSelected) {
        for (auto& row : single.view.rows) row.selected = false;
        single.view.rows[i].selected = true;
        single.list->RemoveEntries(true);
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
      } else {
        ++i;
      }
    }
    ASSERT_TRUE(Take(batch) == Take(single)) << "round " << round;
    batch.ExpectConsistent();
  }
}

TEST(PlayList, ClearListSwitchesShuffleOffAndLeavesNoCurrentEntry) {
  PlayListRig r;
  r.Fill(3);
  r.list->SwitchShuffleOn();
  r.list->ClearList();
  EXPECT_FALSE(r.list->Shuffle());
  EXPECT_EQ(r.list->CurrentTrack(), -1);
  EXPECT_EQ(r.view.playingIndex, -1);
  EXPECT_EQ(r.list->Navigate(NavStep::Advance), NavResult::Empty);
}

TEST(PlayList, SetCurrentEntryMarksScrollsAndTitles) {
  PlayListRig r;
  r.list->SetCurrentEntry(0);  // empty list: nothing
  EXPECT_EQ(r.view.titleChanges, 0);
  r.Fill(3);
  r.list->SetCurrentEntry(2);
  EXPECT_EQ(r.view.playingIndex, 2);
  EXPECT_EQ(r.view.scrolledTo, 2);
  EXPECT_EQ(r.view.title, "c.mp3");
  r.list->SetCurrentEntry(3);  // past the end: nothing
  EXPECT_EQ(r.view.playingIndex, 2);
  r.list->SetCurrentEntry(-1);
  EXPECT_EQ(r.view.playingIndex, -1);
  EXPECT_EQ(r.view.title, "");
}

TEST(PlayList, SortIsByteWiseStableAndTheCurrentEntryFollows) {
  PlayListRig r;
  for (const char* p : {"C:\\1\\b.mp3", "C:\\2\\B.mp3", "C:\\3\\a.mp3", "C:\\4\\b.mp3", "C:\\5\\a.mp"}) {
    r.list->AddEntry(p, r.list->Count());
  }
  r.list->SetCurrentTrack(3);
  r.list->SetCurrentEntry(3);
  r.view.Select({1, 4});  // B.mp3 and a.mp: the selection goes with them
  r.list->SortEntries(true);
  EXPECT_EQ(r.list->Paths(), (Strings{"C:\\2\\B.mp3", "C:\\5\\a.mp", "C:\\3\\a.mp3", "C:\\1\\b.mp3", "C:\\4\\b.mp3"}));
  EXPECT_EQ(r.view.SelectedRows(), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(r.list->CurrentTrack(), 4);
  EXPECT_EQ(r.view.playingIndex, 4);
  EXPECT_EQ(r.view.title, "b.mp3");
  r.ExpectConsistent();
  r.list->SortEntries(false);
  EXPECT_EQ(r.list->Paths(), (Strings{"C:\\1\\b.mp3", "C:\\4\\b.mp3", "C:\\3\\a.mp3", "C:\\5\\a.mp", "C:\\2\\B.mp3"}));
  EXPECT_EQ(r.list->CurrentTrack(), 1);
  // Texts longer than the quick eight-byte key and equal in it.
  PlayListRig l;
  for (const char* p : {"C:\\abcdefgh2", "C:\\abcdefgh10", "C:\\abcdefgh", "C:\\abcdefgh1"}) l.list->AddEntry(p, l.list->Count());
  l.list->SortEntries(true);
  EXPECT_EQ(l.DisplayTexts(), (Strings{"abcdefgh", "abcdefgh1", "abcdefgh10", "abcdefgh2"}));
}

TEST(PlayList, SortingNothingOrOneEntryLeavesTheTitle) {
  PlayListRig r;
  r.list->SortEntries(true);
  r.Fill(1);
  r.list->SortEntries(false);
  EXPECT_EQ(r.view.titleChanges, 0);
}

TEST(PlayList, SortingAHundredThousandSortedEntriesDoesNotRecursePerEntry) {
  PlayListRig r;
  Strings paths;
  for (int i = 0; i < 100000; ++i) paths.push_back("C:\\M\\" + std::to_string(1000000 + i) + ".mp3");
  r.list->AddEntries(paths, 0);
  r.list->SortEntries(true);
  r.list->SortEntries(false);
  EXPECT_EQ(r.list->Path(0), "C:\\M\\1099999.mp3");
}

TEST(PlayList, SwapAndMoveKeepTheCurrentEntry) {
  PlayListRig r;
  r.Fill(6);
  r.list->SetCurrentTrack(1);
  r.list->SwapEntries(1, 4);
  EXPECT_EQ(r.list->CurrentTrack(), 4);
  EXPECT_EQ(r.view.playingIndex, 4);
  EXPECT_EQ(r.view.RowText(1), "e.mp3");
  r.ExpectConsistent();

  // Row 5 dragged to 2 while row 3 plays: the mark and the current entry go to 4.
  PlayListRig m;
  m.Fill(6);
  m.list->SetCurrentTrack(3);
  m.list->SetCurrentEntry(3);
  m.view.DragRow(5, 2);
  m.list->MoveEntry(5, 2);
  EXPECT_EQ(m.view.playingIndex, 4);
  EXPECT_EQ(m.list->CurrentTrack(), 4);
  EXPECT_EQ(m.DisplayTexts(), (Strings{"a.mp3", "b.mp3", "f.mp3", "c.mp3", "d.mp3", "e.mp3"}));
  m.ExpectConsistent();
  m.list->MoveEntry(2, 2);
  m.list->MoveEntry(9, 0);  // out of range: ignored
  EXPECT_EQ(m.list->Path(2), PlayListRig::Name(5));
}

TEST(PlayList, NavigationStateIsReadAtConstructionAndWrittenAtDestruction) {
  PlayListRig r;
  r.settings.WriteInt("playlist", "random", 5);
  r.settings.WriteInt("playlist", "repeatmode", 2);
  r.settings.WriteInt("playlist", "curtrack", 7);
  r.Open();
  EXPECT_TRUE(r.list->Shuffle());
  EXPECT_EQ(r.list->RepeatMode(), 2);
  EXPECT_EQ(r.list->SavedCurrentTrack(), 7);
  EXPECT_EQ(r.list->CurrentTrack(), 0);
  r.Fill(3);  // loaded entries fill the shuffle order
  r.ExpectConsistent();
  EXPECT_EQ(r.list->Remaining(), 3);
  r.list->SwitchShuffleOff();
  r.list->SetCurrentTrack(-1);
  r.list.reset();
  EXPECT_EQ(r.settings.GetInt("playlist", "random", 9), 0);
  EXPECT_EQ(r.settings.GetInt("playlist", "curtrack", 9), -1);
  EXPECT_EQ(r.settings.GetInt("playlist", "repeatmode", 9), 2);
  EXPECT_EQ(r.files.Contents("\\velk.m3u"), "C:\\M\\a.mp3\r\nC:\\M\\b.mp3\r\nC:\\M\\c.mp3\r\n");
}

// Long random runs of every operation: rows and paths stay equal, the shuffle
// order stays a permutation, and the playing mark stays on the current track
// after every list operation that starts with them together.
TEST(PlayList, RandomOperationSequencesKeepTheInvariants) {
  std::mt19937 rng(2024);
  PlayListRig r;
  r.files.AddFile("F:\\A\\x.mp3");
  r.files.AddFile("F:\\A\\B\\y.mp3");
  r.files.AddFile("F:\\A\\z.M3U");
  r.files.AddFile("F:\\A\\C\\D\\w.wav");
  // As after start-up with an empty automatic playlist.
  r.list->SetCurrentTrack(-1);
  r.view.playingIndex = -1;
  auto pick = [&](int32_t below) { return below <= 0 ? 0 : static_cast<int32_t>(rng() % static_cast<uint32_t>(below)); };
  for (int step = 0; step < 20000; ++step) {
    r.now += static_cast<int64_t>(rng() % 3);
    const int32_t count = r.list->Count();
    const bool together = r.view.playingIndex == r.list->CurrentTrack();
    bool listOperation = true;
    switch (rng() % 14) {
      case 0:
      case 1:
        r.list->AddEntry("G:\\" + std::to_string(rng() % 50) + ".mp3", pick(count + 1));
        break;
      case 2:
        r.list->AddFolder("F:\\A", pick(count + 1));
        break;
      case 3:
      case 4:
        for (auto& row : r.view.rows) row.selected = rng() % 4 == 0;
        r.list->RemoveEntries(rng() % 5 != 0);
        break;
      case 5:
        if (rng() % 20 == 0) r.list->ClearList();
        break;
      case 6:
        r.list->SortEntries(rng() % 2 == 0);
        break;
      case 7:
        if (count > 0) {
          int32_t from = pick(count), to = pick(count);
          r.view.DragRow(from, to);
          r.list->MoveEntry(from, to);
        }
        break;
      case 8:
        r.list->SwapEntries(pick(count), pick(count));
        break;
      case 9:
        listOperation = false;
        if (r.list->Shuffle()) {
          r.list->SwitchShuffleOff();
        } else {
          r.list->SwitchShuffleOn();
        }
        break;
      case 10:
        r.list->SetRepeatMode(pick(3));
        [[fallthrough]];
      default: {
        listOperation = false;
        static const NavStep codes[] = {NavStep::Advance, NavStep::Keep, NavStep::Previous, NavStep::Next};
        const bool inRange = r.list->CurrentTrack() < count;
        const NavResult result = r.list->Navigate(codes[rng() % 4]);
        if (count > 0) {
          ASSERT_NE(result, NavResult::Empty);
          ASSERT_GE(r.list->CurrentTrack(), 0);
          if (inRange) {
            ASSERT_LT(r.list->CurrentTrack(), count) << "step " << step;
          }
        } else {
          ASSERT_EQ(result, NavResult::Empty);
        }
        if (rng() % 2 == 0) r.list->SetCurrentEntry(r.list->CurrentTrack());
        break;
      }
    }
    ASSERT_NO_FATAL_FAILURE(r.ExpectConsistent()) << "step " << step;
    if (listOperation && together) {
      ASSERT_EQ(r.view.playingIndex, r.list->CurrentTrack()) << "step " << step;
    }
    if (r.list->Count() > 400) r.list->ClearList();
  }
}

}  // namespace
}  // namespace velk::testing
