// A playlist with an in-memory view, file system and settings store, and a
// clock the test sets.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "player/playlist/Location.h"
#include "player/playlist/PlayList.h"
#include "tests/support/FakePlayListView.h"
#include "tests/support/MemoryFileSystem.h"

namespace velk::testing {

struct PlayListRig {
  CMemorySettings settings;
  CFakePlayListView view;
  CMemoryFileSystem files;
  int64_t now = 1000;
  std::unique_ptr<CPlayList> list;

  PlayListRig() { Open(); }
  void Open() { list = std::make_unique<CPlayList>(settings, view, files, [this] { return now; }); }

  // Entries named "<letter>.mp3" under C:\M\, appended.
  void Fill(int count) {
    for (int i = 0; i < count; ++i) list->AddEntry(Name(i), list->Count());
  }
  static std::string Name(int i) { return "C:\\M\\" + std::string(1, static_cast<char>('a' + i)) + ".mp3"; }

  std::vector<std::string> DisplayTexts() const {
    std::vector<std::string> texts;
    for (const std::string& p : list->Paths()) texts.emplace_back(DisplayText(p));
    return texts;
  }
  // Rows and paths agree; with shuffle on the first count slots are a permutation.
  void ExpectConsistent() const {
    ASSERT_EQ(view.Texts(), DisplayTexts());
    if (!list->Shuffle()) return;
    const auto count = static_cast<size_t>(list->Count());
    ASSERT_GE(list->ShuffleOrder().size(), count);
    std::vector<bool> seen(count, false);
    for (size_t slot = 0; slot < count; ++slot) {
      uint32_t n = list->ShuffleOrder()[slot];
      ASSERT_LT(n, count);
      ASSERT_FALSE(seen[n]) << "entry " << n << " twice in the shuffle order";
      seen[n] = true;
    }
    ASSERT_GE(list->Remaining(), 0);
    ASSERT_LE(list->Remaining(), list->Count());
  }
};

}  // namespace velk::testing
