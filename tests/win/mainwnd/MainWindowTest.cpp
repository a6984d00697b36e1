// The main window on a real window with a real engine: the command-line item
// plays at once, keys and buttons drive the transport, the end of an item stops
// it, and the displays are drawn in the colours the settings hold.
#include <gtest/gtest.h>

#include "platform/framework/RegistrySettings.h"
#include "player/app/SettingsStore.h"
#include "player/mainwnd/MainWindow.h"
#include "shared/PlayerMessages.h"
#include "tests/win/engine/EngineTestSupport.h"

namespace velk {
namespace {

using enginetest::PumpFor;
using enginetest::PumpUntil;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : store_(HKEY_CURRENT_USER, "Software\\VelkTest\\MainWindow") {
    store_.DeleteAll();
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
  int State() { return window_->Engine()->GetState(1000); }
  void Key(UINT key) { window_->SendMessage(WM_KEYUP, key, 0); }
  std::string Title() {
    char text[512] = {};
    ::GetWindowTextA(window_->m_hWnd, text, sizeof(text));
    return text;
  }
  // The colour drawn at a point when the window paints into a bitmap.
  COLORREF DrawnAt(POINT p) {
    const RECT rc = window_->GetClientRect();
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    window_->DrawWindow(dc);
    const COLORREF colour = ::GetPixel(dc, p.x, p.y);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return colour;
  }

  fw::CRegistrySettings store_;
  enginetest::CScratchFolder media_;
  std::unique_ptr<CMainWindow> window_;
};

TEST_F(MainWindowTest, WithoutACommandLineNothingPlaysAndPlayHasNothingToStart) {
  Open("");
  EXPECT_EQ(Title(), CMainWindow::kWindowName);
  EXPECT_FALSE(window_->Engine()->IsOpen());
  window_->SendMessage(ID_BTN_PLAY, 2, 0);
  Key('X');
  EXPECT_FALSE(window_->Engine()->IsOpen());
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

TEST_F(MainWindowTest, AQuotedCommandLineItemPlaysAtOnceAndKeysDriveTheTransport) {
  const std::string wav = media_.Wav("long tone.wav", 8000);
  Open("\"" + wav + "\"");
  EXPECT_EQ(window_->CurrentItem(), wav);
  EXPECT_EQ(Title(), wav);
  ASSERT_EQ(State(), CPlaybackEngine::kRunning);

  Key(VK_SPACE);  // pause
  EXPECT_EQ(State(), CPlaybackEngine::kPaused);
  Key('C');  // resume
  EXPECT_EQ(State(), CPlaybackEngine::kRunning);
  Key('V');  // stop closes the graph
  EXPECT_FALSE(window_->Engine()->IsOpen());
  Key(VK_SPACE);  // nothing to resume while stopped
  EXPECT_FALSE(window_->Engine()->IsOpen());
  window_->SendMessage(ID_BTN_PLAY, 2, 0);
  EXPECT_EQ(State(), CPlaybackEngine::kRunning);
  Key(VK_ESCAPE);
  EXPECT_FALSE(window_->Engine()->IsOpen());
}

TEST_F(MainWindowTest, TheEndOfTheItemStopsTheEngine) {
  Open(media_.Wav("short.wav", 700));
  ASSERT_TRUE(window_->Engine()->IsOpen());
  EXPECT_TRUE(PumpUntil([&] { return !window_->Engine()->IsOpen(); }));
}

TEST_F(MainWindowTest, TimeAreaIsDrawnInTheStoredBackgroundAfterOptionsChange) {
  Open("");
  const RECT area = window_->TimeAreaRect();
  const POINT inside{area.left + 2, area.top + 2};
  EXPECT_EQ(DrawnAt(inside), COLORREF(0x400040));  // the default while stopped

  store_.WriteInt("Qorn mediaplayer", "bktime", 0x102030);
  EXPECT_EQ(DrawnAt(inside), COLORREF(0x400040));  // read only when told
  window_->SendMessage(WM_PLAYER_OPTIONSCHANGED, 0, 0);
  EXPECT_EQ(window_->TimeBackColour(), COLORREF(0x102030));
  EXPECT_EQ(DrawnAt(inside), COLORREF(0x102030));
}

TEST_F(MainWindowTest, WhilePlayingTheTimeFieldsShowThePositionAndTheThumbIsOnTheTrack) {
  store_.WriteInt("Qorn mediaplayer", "slider", 0x00FF00);
  Open(media_.Wav("tone.wav", 8000));
  ASSERT_EQ(State(), CPlaybackEngine::kRunning);
  const RECT track = window_->SeekTrackRect();
  // At the start the thumb's left stroke is at the track's left end.
  EXPECT_EQ(DrawnAt({track.left + 1, track.top}), COLORREF(0x00FF00));
  const RECT time = window_->TimeAreaRect();
  // The minutes field is filled with the time background around its digit.
  EXPECT_EQ(DrawnAt({time.left, time.top}), COLORREF(0x400040));
}

}  // namespace
}  // namespace velk
