// The main window on a real window with a real engine: the automatic playlist
// and the command line at start, keys and buttons driving the transport over
// the playlist, the end of an item moving on, dropped files, the menus' check
// marks, and the displays drawn in the colours the settings hold.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>

#include "platform/framework/RegistrySettings.h"
#include "platform/framework/Text.h"
#include "core/SettingsStore.h"
#include "player/engine/OutputVolume.h"
#include "player/mainwnd/MainWindow.h"
#include "player/playlist/Location.h"
#include "player/res/ResourceIds.h"
#include "shared/PlayerMessages.h"
#include "tools/art/SkinArt.h"
#include "tests/win/engine/EngineTestSupport.h"

namespace velk {
namespace {

using enginetest::PumpFor;
using enginetest::PumpUntil;

// Answers the window's choosers as the test tells it, recording who asked.
class CScriptedChoosers : public IPlayerChoosers {
 public:
  bool ChooseMediaFiles(HWND, std::vector<std::string>& chosen) override {
    chosen = files;
    return !files.empty();
  }
  bool ChoosePlayListToOpen(HWND, std::string& path) override { return Give(path); }
  bool ChoosePlayListToSave(HWND, std::string& path) override { return Give(path); }
  bool ChooseBackgroundImage(HWND, std::string& path) override { return Give(path); }
  bool ChooseFolder(HWND, std::string& folder) override { return Give(folder); }
  bool AskLocation(fw::CWnd*, std::string& typed) override { return Give(typed); }

  std::vector<std::string> files;
  std::string answer;

 private:
  bool Give(std::string& out) {
    out = answer;
    return !answer.empty();
  }
};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : store_(HKEY_CURRENT_USER, "Software\\VelkTest\\MainWindow") {
    store_.DeleteAll();
    store_.WriteString("", "AppPath", media_.Path());
    SelectSettingsStore(&store_);
  }
  ~MainWindowTest() override {
    window_.reset();
    PumpFor(0);
    SelectSettingsStore(nullptr);
    store_.DeleteAll();
  }
  void Open(const std::string& commandLine) {
    window_ = std::make_unique<CMainWindow>();
    ASSERT_TRUE(window_->Create(commandLine));
    PumpFor(0);
  }
  EngineState State() { return window_->Engine()->GetState(1000); }
  CPlayList& List() { return *window_->PlayList(); }
  CPlayListCtrl& View() { return window_->PlayListView(); }
  // The automatic playlist the next start reads, one path per line.
  void WriteAutomaticPlayList(const std::vector<std::string>& paths) {
    std::ofstream out(media_.File("velk.m3u"), std::ios::binary);
    for (const std::string& path : paths) out << path << "\r\n";
  }
  std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // A real WM_DROPFILES, as the shell sends it: at a client point, or outside
  // the client area when `point` is null.
  void Drop(const std::vector<std::string>& names, const POINT* point) {
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const std::string& name : names) bytes += name.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = point ? *point : POINT{-5, -5};
    drop->fNC = point ? FALSE : TRUE;
    char* at = reinterpret_cast<char*>(drop + 1);
    for (const std::string& name : names) {
      std::memcpy(at, name.c_str(), name.size() + 1);
      at += name.size() + 1;
    }
    ::GlobalUnlock(memory);
    window_->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  }
  // A point on a row of the view, in the main window's client coordinates.
  POINT OnRow(int row) {
    RECT item{};
    item.left = LVIR_BOUNDS;
    ::SendMessageA(View().m_hWnd, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
    POINT p{item.left + 4, item.top + 2};
    ::MapWindowPoints(View().m_hWnd, window_->m_hWnd, &p, 1);
    return p;
  }
  // A key pressed and released over the window.
  void Key(UINT key) {
    window_->SendMessage(WM_KEYDOWN, key, 0);
    window_->SendMessage(WM_KEYUP, key, 0);
  }
  std::string Title() {
    char text[512] = {};
    ::GetWindowTextA(window_->m_hWnd, text, sizeof(text));
    return text;
  }
  // The colour drawn at a point when the window paints into a bitmap.
  COLORREF DrawnAt(POINT p) { return Drawn({p.x, p.y, p.x + 1, p.y + 1}, 1).front(); }
  // The colours drawn in an area, every `step`-th pixel of every `step`-th row, from one painting.
  std::vector<COLORREF> Drawn(const RECT& area, LONG step) {
    const RECT rc = window_->GetClientRect();
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    window_->DrawWindow(dc);
    std::vector<COLORREF> colours;
    for (LONG y = area.top; y < area.bottom; y += step)
      for (LONG x = area.left; x < area.right; x += step) colours.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return colours;
  }

  // The middle of a skin region or button, client coordinates.
  POINT Centre(uint32_t region) {
    const RECT rc = window_->GetClientRect();
    LONG sx = 0, sy = 0, n = 0;
    for (LONG y = 0; y < rc.bottom; ++y)
      for (LONG x = 0; x < rc.right; ++x)
        if (window_->HitTest(x, y, rc) == region) sx += x, sy += y, ++n;
    SkinButton button{};
    if (n || !window_->GetButton(region, &button)) return n ? POINT{sx / n, sy / n} : POINT{-1, -1};
    const SkinPoint corner = AnchorCorner(button.anchor, SkinRect{0, 0, rc.right, rc.bottom});
    return POINT{corner.x + button.x + button.normal.Width() / 2, corner.y + button.y + button.normal.Height() / 2};
  }
  void Click(POINT p) {
    window_->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    window_->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    PumpFor(10);  // the skin posts what the click does
  }
  // How many pixels of the volume bar's middle row are drawn in its colour.
  int VolumeBarFill() {
    const RECT bar = window_->VolumeBarRect();
    const LONG middle = (bar.top + bar.bottom) / 2;
    const std::vector<COLORREF> row = Drawn({bar.left, middle, bar.right, middle + 1}, 1);
    return static_cast<int>(std::count(row.begin(), row.end(), window_->VolumeColour()));
  }
  // The ids of the pop-up menu `show` opens (its items in order), read from
  // inside the menu's own loop, which is then ended.
  static std::vector<UINT> MenuShownBy(const std::function<void()>& show) {
    static std::vector<UINT> seen;
    seen.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
      HWND menu = ::FindWindowA("#32768", nullptr);
      if (!menu || !::IsWindowVisible(menu)) return;
      HMENU items = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
      for (int i = 0; i < ::GetMenuItemCount(items); ++i) seen.push_back(::GetMenuItemID(items, i));
      ::EndMenu();
    });
    show();
    ::KillTimer(nullptr, timer);
    return seen;
  }
  static std::vector<UINT> MenuItems(int position) {
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    HMENU popup = ::GetSubMenu(menu, position);
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) ids.push_back(::GetMenuItemID(popup, i));
    ::DestroyMenu(menu);
    return ids;
  }

  fw::CRegistrySettings store_;
  enginetest::CScratchFolder media_;
  std::unique_ptr<CMainWindow> window_;
};

TEST_F(MainWindowTest, WithoutACommandLineTheAutomaticPlayListIsLoadedAndNothingPlays) {
  const std::string a = media_.Wav("a.wav", 3000), b = media_.Wav("b.wav", 3000);
  WriteAutomaticPlayList({a, b});
  store_.WriteInt("playlist", "curtrack", 1);
  Open("");
  EXPECT_EQ(List().Paths(), (std::vector<std::string>{a, b}));
  EXPECT_EQ(View().RowCount(), 2);
  EXPECT_EQ(View().RowText(0), "a.wav");
  EXPECT_EQ(List().CurrentTrack(), 1);
  EXPECT_EQ(View().PlayingIndex(), 1);
  EXPECT_FALSE(window_->Engine()->IsOpen());
  EXPECT_EQ(Title(), "b.wav");
}

TEST_F(MainWindowTest, AStoredCurrentTrackPastTheEndGivesNoCurrentEntry) {
  WriteAutomaticPlayList({media_.Wav("a.wav", 1000), media_.Wav("b.wav", 1000)});
  store_.WriteInt("playlist", "curtrack", 2);
  Open("");
  EXPECT_EQ(List().CurrentTrack(), -1);
  EXPECT_EQ(View().PlayingIndex(), -1);
}

TEST_F(MainWindowTest, AMediaFileOnTheCommandLineIsTheOnlyEntryPlaysAtOnceAndIsKept) {
  WriteAutomaticPlayList({media_.Wav("old.wav", 1000)});
  const std::string wav = media_.Wav("long tone.wav", 8000);
  Open("\"" + wav + "\"");  // as an association or a drag onto the program quotes it
  EXPECT_EQ(List().Paths(), std::vector<std::string>{wav});
  EXPECT_EQ(State(), EngineState::Running);
  EXPECT_EQ(Title(), "long tone.wav");
  window_.reset();
  EXPECT_EQ(ReadFile(media_.File("velk.m3u")), "long tone.wav\r\n");

  // A file that cannot be played says so in the title, and why.
  Open("\"" + media_.File("gone.avi") + "\"");
  EXPECT_EQ(State(), EngineState::Stopped);
  EXPECT_EQ(Title().rfind("gone.avi \xE2\x80\x94 cannot be played (", 0), 0u) << Title();
  // Its row says why in a tip where the pointer rests.
  POINT row = OnRow(0);
  ::ClientToScreen(window_->m_hWnd, &row);
  ::SetCursorPos(row.x, row.y);
  ::ScreenToClient(View().m_hWnd, &row);
  View().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(row.x, row.y));
  ASSERT_TRUE(PumpUntil([&] { return View().ToolTip() && ::IsWindowVisible(View().ToolTip()); }));
  wchar_t tip[256] = {};
  TOOLINFOW tool{sizeof(tool), 0, View().m_hWnd, 1};
  tool.lpszText = tip;
  ::SendMessageW(View().ToolTip(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(fw::Narrow(tip).rfind("Cannot be played: ", 0), 0u) << fw::Narrow(tip);
  EXPECT_GT(fw::Narrow(tip).size(), 20u);
}

// What a user sees as they use the main window, path by path: the volume
// buttons, keys and strip move the bar; a click on the seek strip moves the
// position, and paused it is ignored and the time stays; the right-click
// popup over ADD, SUB, SEL and LIST is that button's menu and the main popup
// elsewhere; the tray icon restores the window and opens the main popup, and
// is gone after exit; the end of an item plays the entry each repeat mode and
// shuffle call for.
TEST_F(MainWindowTest, WhatTheUserSeesAsTheyUseTheWindow) {
  const std::string a = media_.Wav("a.wav", 8000), b = media_.Wav("b.wav", 8000), c = media_.Wav("c.wav", 8000);
  WriteAutomaticPlayList({a, b, c});
  Open("");
  Key('X');
  ASSERT_EQ(State(), EngineState::Running);

  const RECT bar = window_->VolumeBarRect();
  const LONG barY = (bar.top + bar.bottom) / 2;
  ASSERT_TRUE(COutputVolume().Set(0x80008000));
  const struct {
    const char* what;
    std::function<void()> act;
    int direction;
  } volumeRows[] = {
      {"down button", [&] { Click(Centre(ID_BTN_VOLDOWN)); }, -1},
      {"up button", [&] { Click(Centre(ID_BTN_VOLUP)); }, +1},
      {"Left", [&] { Key(VK_LEFT); }, -1},
      {"Right", [&] { Key(VK_RIGHT); }, +1},
      {"strip near its left end", [&] { Click({bar.left + (bar.right - bar.left) / 8, barY}); }, -1},
      {"strip near its right end", [&] { Click({bar.right - (bar.right - bar.left) / 8, barY}); }, +1},
  };
  for (const auto& row : volumeRows) {
    const int before = VolumeBarFill();
    row.act();
    const int after = VolumeBarFill();
    EXPECT_TRUE(row.direction > 0 ? after > before : after < before) << row.what << ": " << before << " -> " << after;
  }

  const RECT track = window_->SeekTrackRect();
  auto seekAt = [&](int quarter) { Click({track.left + (track.right - track.left) * quarter / 4, (track.top + track.bottom) / 2}); };
  seekAt(3);
  EXPECT_NEAR(window_->Engine()->GetPosition(), 6, 1);
  Key('C');
  ASSERT_EQ(State(), EngineState::Paused);
  const int paused = window_->Engine()->GetPosition();
  const RECT time = window_->TimeAreaRect();
  const std::vector<COLORREF> shown = Drawn(time, 1);
  seekAt(1);
  PumpFor(1200);
  EXPECT_EQ(window_->Engine()->GetPosition(), paused);
  EXPECT_EQ(Drawn(time, 1), shown);
  Key(VK_SPACE);

  const struct {
    uint32_t button;
    int popup;
  } popupRows[] = {{ID_BTN_ADD, MAIN_MENU_ADD_FILE}, {ID_BTN_REMOVE, MAIN_MENU_REMOVE_FILE},
                   {ID_BTN_SELECT, MAIN_MENU_SELECT}, {ID_BTN_OPENLIST, MAIN_MENU_LOAD_LIST},
                   {ID_BTN_PLAY, MAIN_MENU_POPUP}};
  for (const auto& row : popupRows) {
    const POINT p = Centre(row.button);
    EXPECT_EQ(MenuShownBy([&] { window_->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y)); }),
              MenuItems(row.popup))
        << row.button;
  }

  window_->Perform(Action::Minimize);
  ASSERT_TRUE(::IsIconic(window_->m_hWnd));
  window_->SendMessage(WM_PLAYER_TRAYNOTIFY, CMainWindow::kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_TRUE(PumpUntil([&] { return !::IsIconic(window_->m_hWnd); }));
  EXPECT_EQ(MenuShownBy([&] {
              window_->SendMessage(WM_PLAYER_TRAYNOTIFY, CMainWindow::kTrayIconId, WM_RBUTTONUP);
            }),
            MenuItems(MAIN_MENU_POPUP));

  const struct {
    Action repeat;
    bool shuffle;
    int playing;
    int next;  // -1: any other entry; -2: stopped with the first marked
  } endRows[] = {{Action::RepeatNone, false, 1, 2},  {Action::RepeatThis, false, 1, 1},
                 {Action::RepeatAll, false, 2, 0},   {Action::RepeatNone, false, 2, -2},
                 {Action::RepeatNone, true, 1, -1}};
  for (const auto& row : endRows) {
    window_->Perform(row.repeat);
    if (List().Shuffle() != row.shuffle) window_->Perform(Action::Shuffle);
    View().SelectNone();
    View().SelectRange(row.playing, row.playing);
    Key(VK_RETURN);
    ASSERT_EQ(View().PlayingIndex(), row.playing);
    window_->SendMessage(WM_PLAYER_ENDOFMEDIA, 0, 0);
    if (row.next == -2) {
      EXPECT_FALSE(window_->Engine()->IsOpen());
      EXPECT_EQ(View().PlayingIndex(), 0);
    } else {
      EXPECT_EQ(State(), EngineState::Running) << static_cast<int>(row.repeat);
      if (row.next >= 0) EXPECT_EQ(View().PlayingIndex(), row.next) << static_cast<int>(row.repeat);
      if (row.next == -1) EXPECT_NE(View().PlayingIndex(), row.playing);
    }
  }

  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = window_->m_hWnd;
  icon.uID = CMainWindow::kTrayIconId;
  EXPECT_TRUE(::Shell_NotifyIconA(NIM_MODIFY, &icon));
  window_->DestroyWindow();
  EXPECT_FALSE(::Shell_NotifyIconA(NIM_MODIFY, &icon));
}

// A crash or a kill loses nothing: the automatic playlist on disk follows the
// entries within a couple of seconds, while the player still runs. A
// read-only playlist file is the user's: it is left as it is.
TEST_F(MainWindowTest, TheAutomaticPlayListIsWrittenSoonAfterEachChange) {
  const std::string a = media_.Wav("a.wav", 1000), b = media_.Wav("b.wav", 1000);
  WriteAutomaticPlayList({a});
  Open("");
  PumpFor(2500);
  EXPECT_EQ(ReadFile(media_.File("velk.m3u")), a + "\r\n") << "rewritten without a change";
  Drop({b}, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return ReadFile(media_.File("velk.m3u")) == "a.wav\r\nb.wav\r\n"; }, 4000));

  const std::string path = media_.File("velk.m3u");
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  window_->SendMessage(WM_COMMAND, ID_CLEAR_PLAYLIST, 0);
  EXPECT_EQ(List().Count(), 0);
  PumpFor(2500);
  window_.reset();  // and the saves at exit
  EXPECT_EQ(ReadFile(path), "a.wav\r\nb.wav\r\n");
  EXPECT_NE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainWindowTest, APlayListOnTheCommandLineIsLoadedFromItsFolderAndPlays) {
  media_.Wav("one.wav", 3000);
  media_.Wav("two.wav", 3000);
  {
    std::ofstream out(media_.File("mine.m3u"), std::ios::binary);
    out << "one.wav\r\ntwo.wav\r\n";
  }
  Open(media_.File("mine.m3u"));
  EXPECT_EQ(List().Paths(), (std::vector<std::string>{media_.File("one.wav"), media_.File("two.wav")}));
  EXPECT_EQ(State(), EngineState::Running);
  EXPECT_EQ(View().PlayingIndex(), 0);
}

HWND g_optionsSeen = nullptr;
void CALLBACK CloseOptions(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = ::FindWindowA("#32770", "Qorn media player");
  if (!dialog) return;
  ::KillTimer(nullptr, id);
  g_optionsSeen = ::GetWindow(dialog, GW_OWNER);
  ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(MainWindowTest, TheMiscButtonOpensTheOptionsOverThisWindow) {
  Open("");
  g_optionsSeen = nullptr;
  ::SetTimer(nullptr, 0, 50, &CloseOptions);
  window_->SendMessage(ID_BTN_OPTIONS, 2, 0);  // returns once the modal dialog is closed
  EXPECT_EQ(g_optionsSeen, window_->m_hWnd);
}

// What the user meant: a release whose press went elsewhere (the Esc that
// cancelled a dialog or a menu, the Enter that confirmed one) does nothing;
// Ctrl+C and Ctrl+V are no transport keys; media keys act as the buttons.
TEST_F(MainWindowTest, KeysActOnlyAsTheUserMeant) {
  const std::string a = media_.Wav("a.wav", 8000), b = media_.Wav("b.wav", 8000);
  WriteAutomaticPlayList({a, b});
  Open("");
  Key('X');
  ASSERT_EQ(State(), EngineState::Running);
  for (UINT key : {UINT{VK_ESCAPE}, UINT{VK_RETURN}, UINT{'V'}}) {
    window_->SendMessage(WM_KEYUP, key, 0);  // released here, pressed in a dialog
    EXPECT_EQ(State(), EngineState::Running) << key;
    EXPECT_EQ(View().PlayingIndex(), 0) << key;
  }
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  Key('C');
  Key('V');
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(State(), EngineState::Running);

  auto media = [&](int command) { return window_->SendMessage(WM_APPCOMMAND, 0, MAKELPARAM(0, command)); };
  EXPECT_EQ(media(APPCOMMAND_MEDIA_PLAY_PAUSE), TRUE);
  EXPECT_EQ(State(), EngineState::Paused);
  media(APPCOMMAND_MEDIA_PLAY_PAUSE);
  EXPECT_EQ(State(), EngineState::Running);
  media(APPCOMMAND_MEDIA_NEXTTRACK);
  EXPECT_EQ(View().PlayingIndex(), 1);
  media(APPCOMMAND_MEDIA_STOP);
  EXPECT_FALSE(window_->Engine()->IsOpen());
  EXPECT_EQ(media(APPCOMMAND_BROWSER_BACKWARD), FALSE);  // not the player's
}

TEST_F(MainWindowTest, KeysDriveTheTransportOverThePlayList) {
  const std::string a = media_.Wav("a.wav", 8000), b = media_.Wav("b.wav", 8000),
                    c = media_.Wav("c.wav", 8000);
  WriteAutomaticPlayList({a, b, c});
  Open("");
  Key('X');  // play: no selection, so the current entry
  ASSERT_EQ(State(), EngineState::Running);
  EXPECT_EQ(View().PlayingIndex(), 0);
  Key('B');  // next
  EXPECT_EQ(View().PlayingIndex(), 1);
  EXPECT_EQ(Title(), "b.wav");
  EXPECT_EQ(State(), EngineState::Running);
  Key('Z');  // previous
  EXPECT_EQ(View().PlayingIndex(), 0);
  Key(VK_SPACE);  // pause
  EXPECT_EQ(State(), EngineState::Paused);
  Key(VK_SPACE);  // resume
  EXPECT_EQ(State(), EngineState::Running);
  Key('C');  // pause
  EXPECT_EQ(State(), EngineState::Paused);
  Key('V');  // stop closes the graph
  EXPECT_FALSE(window_->Engine()->IsOpen());
  Key(VK_SPACE);  // nothing to resume while stopped
  EXPECT_FALSE(window_->Engine()->IsOpen());
  Key('B');  // next while stopped only moves the mark
  EXPECT_EQ(View().PlayingIndex(), 1);
  EXPECT_FALSE(window_->Engine()->IsOpen());

  View().SelectRange(2, 2);
  Key(VK_RETURN);  // play the selected entry
  EXPECT_EQ(View().PlayingIndex(), 2);
  EXPECT_EQ(State(), EngineState::Running);
  Key(VK_ESCAPE);
  View().SelectNone();
  View().SelectRange(0, 0);
  Key(VK_DELETE);
  EXPECT_EQ(List().Paths(), (std::vector<std::string>{b, c}));
  EXPECT_EQ(View().RowCount(), 2);

  ::SetFocus(window_->m_hWnd);
  Key(VK_DOWN);
  EXPECT_EQ(::GetFocus(), View().m_hWnd);
}

TEST_F(MainWindowTest, TheEndOfAnItemMovesOnAndTheLastOneStopsWithTheFirstMarked) {
  WriteAutomaticPlayList({media_.Wav("s1.wav", 600), media_.Wav("s2.wav", 600)});
  Open("");
  window_->SendMessage(ID_BTN_PLAY, 2, 0);
  ASSERT_EQ(View().PlayingIndex(), 0);
  EXPECT_TRUE(PumpUntil([&] { return View().PlayingIndex() == 1; }));
  EXPECT_TRUE(PumpUntil([&] { return View().PlayingIndex() == 0 && !window_->Engine()->IsOpen(); }));
  PumpFor(200);
  EXPECT_FALSE(window_->Engine()->IsOpen());
}

// Delete pressed, or the playing item ending, while a row is being dragged:
// the drag is settled first, so the dragged entry goes (and rows and entries
// still agree when the drag's button comes up), or the item after the
// dragged playing entry's new place plays.
TEST_F(MainWindowTest, DeleteOrTheEndOfAnItemDuringARowDragSettlesItFirst) {
  const std::string a = media_.Wav("a.wav", 8000), b = media_.Wav("b.wav", 8000), c = media_.Wav("c.wav", 8000),
                    d = media_.Wav("d.wav", 8000);
  auto inView = [&](int row) {
    POINT p = OnRow(row);
    ::MapWindowPoints(window_->m_hWnd, View().m_hWnd, &p, 1);
    return MAKELPARAM(p.x, p.y);
  };
  for (const bool itemEnds : {false, true}) {
    window_.reset();
    WriteAutomaticPlayList({a, b, c, d});
    store_.WriteInt("playlist", "curtrack", 0);
    Open("");
    Key('X');
    View().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inView(0));
    View().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, inView(1));
    View().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, inView(2));
    ASSERT_TRUE(View().IsDragging());
    itemEnds ? void(window_->SendMessage(WM_PLAYER_ENDOFMEDIA, 0, 0)) : Key(VK_DELETE);
    EXPECT_FALSE(View().IsDragging());
    View().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, inView(3));
    View().SendMessage(WM_LBUTTONUP, 0, inView(3));
    PumpFor(10);
    EXPECT_EQ(List().Paths(), itemEnds ? (std::vector<std::string>{b, c, a, d}) : (std::vector<std::string>{b, c, d}));
    for (int i = 0; i < View().RowCount(); ++i) EXPECT_EQ(View().RowText(i), std::string(DisplayText(List().Path(i))));
    if (itemEnds) EXPECT_EQ(Title(), "d.wav");
  }
}

// Each press of a burst of Next or Previous moves the mark and the title at
// once; the first starts its item, the rest only the item where they stop.
// Anything else pressed during the burst finds that item started.
TEST_F(MainWindowTest, ABurstOfNextStartsOnlyTheItemWhereItStops) {
  std::vector<std::string> items;
  for (int i = 0; i < 8; ++i) items.push_back(media_.Wav("n" + std::to_string(i) + ".wav", 3000 + 1000 * i));
  WriteAutomaticPlayList(items);
  Open("");
  Key('X');
  Key('B');
  ASSERT_EQ(View().PlayingIndex(), 1);
  EXPECT_EQ(window_->Engine()->GetDuration(), 4);
  IGraphBuilder* graph = window_->Engine()->Graph();
  for (int i = 2; i < 7; ++i) {
    Key('B');
    EXPECT_EQ(View().PlayingIndex(), i);
    EXPECT_EQ(Title(), "n" + std::to_string(i) + ".wav");
  }
  EXPECT_EQ(window_->Engine()->Graph(), graph);
  EXPECT_EQ(window_->Engine()->GetDuration(), 4);
  EXPECT_TRUE(PumpUntil([&] { return window_->Engine()->GetDuration() == 9; }));
  EXPECT_EQ(State(), EngineState::Running);

  Key('Z');
  Key('Z');
  EXPECT_EQ(View().PlayingIndex(), 4);
  Key(VK_SPACE);
  EXPECT_EQ(window_->Engine()->GetDuration(), 7);
  EXPECT_EQ(State(), EngineState::Paused);
  Key('B');
  Key('B');
  Key('V');  // a stop drops the burst's item
  PumpFor(600);
  EXPECT_FALSE(window_->Engine()->IsOpen());
  EXPECT_EQ(View().PlayingIndex(), 6);
}

TEST_F(MainWindowTest, DroppedFilesGoWhereTheyAreDropped) {
  const std::string x = media_.Wav("x.wav", 500), y = media_.Wav("y.wav", 500);
  WriteAutomaticPlayList({x, y});
  Open("");
  const std::string p = media_.File("p.mp3"), q = media_.File("q.mp3"), r = media_.File("r.mp3");
  POINT row1 = OnRow(1);
  Drop({p, q, r}, &row1);
  EXPECT_EQ(List().Paths(), (std::vector<std::string>{x, p, q, r, y}));
  EXPECT_EQ(View().RowCount(), 5);

  // A folder and then a file, dropped outside the client area: appended, the
  // file in front of the folder's entries.
  const std::string folder = media_.File("album");
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
  media_.Wav("album\\t1.wav", 200);
  const std::string file = media_.File("loose.mp3");
  Drop({folder, file}, nullptr);
  ASSERT_EQ(List().Count(), 7);
  EXPECT_EQ(List().Path(5), file);
  EXPECT_EQ(List().Path(6), folder + "\\t1.wav");
  EXPECT_FALSE(window_->Engine()->IsOpen());  // nothing starts because of a drop
}

TEST_F(MainWindowTest, ADroppedPlayListLoadsAloneAndPicturesByTheirExactExtension) {
  Open("");
  {
    std::ofstream out(media_.File("list.m3u"), std::ios::binary);
    out << "in list.mp3\r\n";
  }
  Drop({media_.File("list.m3u"), media_.File("song.mp3")}, nullptr);
  EXPECT_EQ(List().Paths(), std::vector<std::string>{media_.File("song.mp3")});
  Drop({media_.File("list.m3u")}, nullptr);
  EXPECT_EQ(List().Paths(), (std::vector<std::string>{media_.File("song.mp3"), media_.File("in list.mp3")}));

  // Any decodable picture will do as cover.JPG; cover.Jpg is a media entry.
  const std::string cover = media_.File("cover.JPG");
  {
    skinart::Picture picture{8, 8, std::vector<uint32_t>(64, 0x336699)};
    const std::vector<uint8_t> bytes = skinart::EncodeBmp24(picture);
    std::ofstream(cover, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
  }
  Drop({cover}, nullptr);
  EXPECT_EQ(View().BkMode(), 11);
  EXPECT_EQ(store_.GetString("playlist", "bkpath", ""), cover);
  EXPECT_EQ(List().Count(), 2);
  Drop({media_.File("cover.Jpg")}, nullptr);
  EXPECT_EQ(List().Count(), 3);
}

TEST_F(MainWindowTest, TheChoosersFeedThePlayListCommands) {
  const std::string a = media_.Wav("a.wav", 8000), b = media_.Wav("b.wav", 8000);
  {
    std::ofstream out(media_.File("two.m3u"), std::ios::binary);
    out << "a.wav\r\nb.wav\r\n";
  }
  Open("");
  CScriptedChoosers choosers;
  window_->SetChoosers(&choosers);
  auto command = [&](UINT id) { window_->SendMessage(WM_COMMAND, id, 0); };

  choosers.files = {b, media_.File("two.m3u")};  // Add files: a playlist among them is loaded
  command(ID_ADD_FILES);
  EXPECT_EQ(List().Paths(), (std::vector<std::string>{b, a, b}));
  EXPECT_FALSE(window_->Engine()->IsOpen());

  choosers.files = {a};  // Open files: replaces the list and plays
  window_->SendMessage(ID_BTN_OPEN, 0, 0);
  EXPECT_EQ(List().Paths(), std::vector<std::string>{a});
  EXPECT_EQ(State(), EngineState::Running);

  choosers.answer = media_.File("two.m3u");  // Open playlist: stops, replaces, plays nothing
  command(ID_OPEN_PLAYLIST);
  EXPECT_EQ(List().Paths(), (std::vector<std::string>{a, b}));
  EXPECT_FALSE(window_->Engine()->IsOpen());

  choosers.answer = media_.File("saved.m3u");
  command(ID_SAVE_PLAYLIST);
  EXPECT_EQ(ReadFile(media_.File("saved.m3u")), "a.wav\r\nb.wav\r\n");

  choosers.answer = "radio.example.org:8000/live";
  command(ID_ADD_LOCATION);
  EXPECT_EQ(List().Path(2), "http://radio.example.org:8000/live");

  const std::string folder = media_.File("more");
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
  media_.Wav("more\\m.wav", 200);
  choosers.answer = folder;
  command(ID_ADD_DIRECTORY);
  EXPECT_EQ(List().Path(3), folder + "\\m.wav");

  choosers.answer = media_.File("not a picture.bmp");  // fails to load: the plain colour stays
  command(ID_BACKGROUND_IMAGE);
  EXPECT_EQ(View().BkMode(), 10);
  EXPECT_EQ(store_.GetInt("playlist", "bkmode", -1), 10);

  choosers.answer.clear();  // cancelled choosers change nothing
  choosers.files.clear();
  command(ID_OPEN_PLAYLIST);
  command(ID_ADD_FILES);
  EXPECT_EQ(List().Count(), 4);
  window_->SetChoosers(nullptr);
}

TEST_F(MainWindowTest, TheMainPopupChecksTheRepeatModeAndShuffle) {
  WriteAutomaticPlayList({media_.Wav("a.wav", 500), media_.Wav("b.wav", 500)});
  Open("");
  auto checked = [&](int repeatPosition) {
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    HMENU popup = ::GetSubMenu(menu, MAIN_MENU_POPUP);
    window_->PrepareMainPopup(popup);
    HMENU repeat = ::GetSubMenu(popup, MAIN_POPUP_REPEAT);
    const bool repeatChecked = (::GetMenuState(repeat, repeatPosition, MF_BYPOSITION) & MF_CHECKED) != 0;
    const bool shuffleChecked = (::GetMenuState(popup, ID_SHUFFLE, MF_BYCOMMAND) & MF_CHECKED) != 0;
    ::DestroyMenu(menu);
    return std::make_pair(repeatChecked, shuffleChecked);
  };
  EXPECT_EQ(checked(0), std::make_pair(true, false));
  window_->SendMessage(WM_COMMAND, ID_REPEAT_ALL, 0);
  window_->SendMessage(WM_COMMAND, ID_SHUFFLE, 0);
  EXPECT_EQ(checked(2), std::make_pair(true, true));
  EXPECT_EQ(checked(0).first, false);
  window_->SendMessage(WM_PLAYER_TOGGLEREPEATTHIS, 0, 0);
  EXPECT_EQ(checked(1).first, true);
  window_->SendMessage(WM_COMMAND, ID_SHUFFLE, 0);
  EXPECT_EQ(checked(1), std::make_pair(true, false));
}

// The one tool of the tooltip control follows the pointer from button to
// button with each one's text, and has nothing over the plain frame.
TEST_F(MainWindowTest, TheToolTipFollowsThePointerOverButtonsAndRegions) {
  Open("");
  HWND tip = window_->ToolTip();
  ASSERT_NE(nullptr, tip);
  auto tool = [&](std::string& text) {
    char buffer[512] = {};
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    info.hwnd = window_->m_hWnd;
    info.uId = 1;
    info.lpszText = buffer;
    ::SendMessageA(tip, TTM_GETTEXTA, sizeof(buffer), reinterpret_cast<LPARAM>(&info));
    text = buffer;
    ::SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info));
    return info.rect;
  };
  const RECT client = window_->GetClientRect();
  const struct {
    UINT id;
    const char* tip;
  } rows[] = {{ID_BTN_ADD, "Add files (Num +): right-click: add files, a folder or a location"},
              {ID_BTN_STOP, "Stop (V, Esc)"},
              {ID_AREA_VOLUME, "Volume: click the level"}};
  for (const auto& r : rows) {
    const POINT origin = window_->GetRegionOrigin(r.id, client);
    window_->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(origin.x + 1, origin.y + 1));
    std::string text;
    const RECT rc = tool(text);
    EXPECT_EQ(text, r.tip);
    EXPECT_EQ(rc.left, origin.x) << r.tip;
    EXPECT_EQ(rc.top, origin.y) << r.tip;
    EXPECT_GT(rc.right, rc.left) << r.tip;
  }
  const RECT inner = window_->GetInnerRect();
  window_->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(inner.left - 1, (inner.top + inner.bottom) / 2));
  std::string text;
  const RECT rc = tool(text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(rc.right - rc.left, 0);
}

TEST_F(MainWindowTest, AnOptionsAnnouncementRepaintsTheDisplaysAndThePlayListView) {
  Open("");
  const RECT area = window_->TimeAreaRect();
  const POINT inside{area.left + 2, area.top + 2};
  EXPECT_EQ(DrawnAt(inside), COLORREF(0x400040));  // the default while stopped

  store_.WriteInt("Qorn mediaplayer", "bktime", 0x102030);
  store_.WriteInt("playlist", "Bknorcolor", 0x405060);
  store_.WriteInt("playlist", "Textplaycolor", 0x00A0B0);
  EXPECT_EQ(DrawnAt(inside), COLORREF(0x400040));  // read only when told
  window_->SendMessage(WM_PLAYER_OPTIONSCHANGED, 0, 0);
  EXPECT_EQ(window_->TimeBackColour(), COLORREF(0x102030));
  EXPECT_EQ(DrawnAt(inside), COLORREF(0x102030));
  EXPECT_EQ(View().BackNormalColour(), COLORREF(0x405060));
  EXPECT_EQ(View().TextPlayingColour(), COLORREF(0x00A0B0));
  EXPECT_EQ(::SendMessageA(View().m_hWnd, LVM_GETBKCOLOR, 0, 0), 0x405060);
}

TEST_F(MainWindowTest, WhilePlayingTheTimeFieldsShowThePositionAndTheThumbIsOnTheTrack) {
  store_.WriteInt("Qorn mediaplayer", "slider", 0x00FF00);
  Open(media_.Wav("tone.wav", 8000));
  ASSERT_EQ(State(), EngineState::Running);
  const RECT track = window_->SeekTrackRect();
  // At the start the thumb's left stroke is at the track's left end.
  EXPECT_EQ(DrawnAt({track.left + 1, track.top}), COLORREF(0x00FF00));
  const RECT time = window_->TimeAreaRect();
  // The minutes field is filled with the time background around its digit.
  EXPECT_EQ(DrawnAt({time.left, time.top}), COLORREF(0x400040));
  // Between the fields the skin's colon shows: two dots with the gap's colour between.
  const LONG gap = window_->TimeAreaRect().left + 21;
  EXPECT_EQ(DrawnAt({gap, time.top + 1}), DrawnAt({gap, time.top + 4}));
  EXPECT_NE(DrawnAt({gap, time.top + 1}), DrawnAt({gap, time.top + 2}));
}

}  // namespace
}  // namespace velk
