// Thousands of random buttons, commands, keys, drops and engine messages
// against a live main window playing short clips: afterwards the rows and the
// paths agree, the playing mark is on a row or nowhere, and the automatic
// playlist written at the end reads back as the same entries.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <random>

#include "platform/framework/RegistrySettings.h"
#include "core/SettingsStore.h"
#include "player/mainwnd/MainWindow.h"
#include "player/playlist/Location.h"
#include "player/playlist/PlayListFile.h"
#include "player/res/ResourceIds.h"
#include "shared/PlayerMessages.h"
#include "tests/win/engine/EngineTestSupport.h"

namespace velk {
namespace {

void DropOutside(CMainWindow& window, const std::string& name) {
  HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + name.size() + 2);
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fNC = TRUE;
  std::memcpy(drop + 1, name.c_str(), name.size() + 1);
  ::GlobalUnlock(memory);
  window.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

void ExpectConsistent(CMainWindow& window) {
  CPlayList& list = *window.PlayList();
  CPlayListCtrl& view = window.PlayListView();
  ASSERT_EQ(view.RowCount(), list.Count());
  for (int32_t i = 0; i < list.Count(); ++i) {
    ASSERT_EQ(view.RowText(i), std::string(DisplayText(list.Path(i)))) << "row " << i;
  }
  EXPECT_GE(view.PlayingIndex(), -1);
  EXPECT_LT(view.PlayingIndex(), list.Count());
}

TEST(MainWindowStressTest, RandomInputKeepsRowsAndPathsTogether) {
  fw::CRegistrySettings store(HKEY_CURRENT_USER, "Software\\VelkTest\\MainWindowStress");
  store.DeleteAll();
  enginetest::CScratchFolder media;
  store.WriteString("", "AppPath", media.Path());
  SelectSettingsStore(&store);

  std::vector<std::string> clips;
  for (int i = 0; i < 6; ++i) clips.push_back(media.Wav("clip" + std::to_string(i) + ".wav", 250 + 50 * i));
  {
    std::ofstream out(media.File("velk.m3u"), std::ios::binary);
    for (const std::string& clip : clips) out << clip << "\r\n";
  }

  std::vector<std::string> finalPaths;
  {
    CMainWindow window;
    ASSERT_TRUE(window.Create(""));
    std::mt19937 random(20261207);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const UINT buttons[] = {ID_BTN_PREV, ID_BTN_PLAY, ID_BTN_STOP, ID_BTN_NEXT, ID_BTN_PAUSE,
                            ID_BTN_REMOVE, ID_BTN_SELECT, ID_BTN_VOLUP, ID_BTN_VOLDOWN};
    const UINT commands[] = {ID_PREV, ID_PLAY, ID_STOP, ID_NEXT, ID_PAUSE, ID_REPEAT_NONE, ID_REPEAT_THIS,
                             ID_REPEAT_ALL, ID_SHUFFLE, ID_REPEAT_THIS_TOGGLE, ID_PLAY_THIS, ID_DELETE_THIS,
                             ID_SORT_ASCENDING, ID_SORT_DESCENDING, ID_SELECT_NONE, ID_INVERT_SELECTION,
                             ID_CROP_SELECTED, ID_SELECT_ALL, ID_REMOVE_SELECTED};
    const UINT keys[] = {'Z', 'X', 'C', 'V', 'B', VK_SPACE, VK_RETURN, VK_ESCAPE, VK_DELETE, VK_UP};
    for (int step = 0; step < 2000; ++step) {
      switch (pick(8)) {
        case 0: window.SendMessage(buttons[pick(std::size(buttons))], 0, MAKELPARAM(10, 10)); break;
        case 1:
        case 2: window.SendMessage(WM_COMMAND, commands[pick(std::size(commands))], 0); break;
        case 3: {
          const UINT key = keys[pick(std::size(keys))];
          window.SendMessage(WM_KEYDOWN, key, 0);
          window.SendMessage(WM_KEYUP, key, 0);
          break;
        }
        case 4: window.PostMessage(WM_PLAYER_ENDOFMEDIA, 0, 0); break;
        case 5:
          if (window.PlayList()->Count() < 12) DropOutside(window, clips[pick(std::size(clips))]);
          break;
        case 6: {
          const int32_t count = window.PlayList()->Count();
          if (count > 0) {
            window.PlayListView().SelectNone();
            const int32_t row = pick(count);
            window.PlayListView().SelectRange(row, row);
          }
          window.SendMessage(pick(2) ? WM_PLAYER_PLAYSELECTED : WM_PLAYER_TOGGLEREPEATTHIS, 0, 0);
          break;
        }
        default: enginetest::PumpFor(pick(3) == 0 ? 30 : 0); break;
      }
      if (step % 250 == 0) {
        ExpectConsistent(window);
        if (HasFatalFailure()) return;
      }
    }
    enginetest::PumpFor(100);
    ExpectConsistent(window);
    finalPaths = window.PlayList()->Paths();
  }

  std::ifstream in(media.File("velk.m3u"), std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, FormatPlayList(finalPaths, media.Path() + "\\"));
  SelectSettingsStore(nullptr);
  store.DeleteAll();
}

}  // namespace
}  // namespace velk
