// The video window on real windows under Wine: the main window plays a
// generated video through a real graph, the engine announces its renderer and
// the video window adopts it. Sizes, full screen, caption modes, the strip and
// the stored settings are checked on the windows themselves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/framework/Menu.h"
#include "platform/framework/RegistrySettings.h"
#include "core/SettingsStore.h"
#include "player/mainwnd/MainWindow.h"
#include "player/playlist/PlayList.h"
#include "shared/PlayerMessages.h"
#include "tests/win/ServerModule.h"
#include "tests/support/MediaGen.h"
#include "tools/art/SkinArt.h"
#include "tests/win/engine/EngineTestSupport.h"

namespace velk {
namespace {

using enginetest::PumpFor;
using enginetest::PumpUntil;

constexpr const char* kVideo = "VideoWindow";

SIZE SizeOf(const RECT& rc) { return SIZE{rc.right - rc.left, rc.bottom - rc.top}; }

::testing::AssertionResult HasSize(const RECT& rc, LONG width, LONG height) {
  const SIZE s = SizeOf(rc);
  if (s.cx == width && s.cy == height) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << s.cx << "x" << s.cy << ", wanted " << width << "x" << height;
}

bool Equal(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class VideoWindowTest : public ::testing::Test {
 protected:
  VideoWindowTest() : store_(HKEY_CURRENT_USER, "Software\\VelkTest\\VideoWindow") {
    store_.DeleteAll();
    store_.WriteString("", "AppPath", media_.Path());  // the automatic playlist goes there
    SelectSettingsStore(&store_);
    // The two windows side by side, touching.
    Place("Qorn mediaplayer", {100, 100, 400, 400});
    Place(kVideo, {400, 100, 760, 460});
  }
  ~VideoWindowTest() override {
    main_.reset();
    PumpFor(0);
    SelectSettingsStore(nullptr);
    store_.DeleteAll();
  }
  void Place(const char* section, RECT rc) {
    store_.WriteInt(section, "left", rc.left);
    store_.WriteInt(section, "top", rc.top);
    store_.WriteInt(section, "right", rc.right);
    store_.WriteInt(section, "bottom", rc.bottom);
  }
  // Plays a 10 s 320 × 240 clip; the video window exists once this returns.
  void Play() {
    if (clip_.empty()) clip_ = media_.Avi("clip.avi", 320, 240, 100);
    if (!main_) {
      main_ = std::make_unique<CMainWindow>();
      ASSERT_TRUE(main_->Create(clip_));
    } else {
      main_->PlayByCode(main_->PlayList()->Navigate(NavStep::Keep));
    }
    PumpFor(0);
    ASSERT_NE(nullptr, main_->VideoWindow());
    // Wine's renderer presents its frames through OpenGL from a thread of its
    // own, and moving the window that holds the picture while a frame is
    // presented can deadlock inside Wine. The picture stands still here while
    // these tests move and resize the window (see Send); the e2e test watches it play.
    main_->Engine()->Pause();
    main_->Engine()->GetState(5000);
  }
  CVideoFrameWindow& Video() { return *main_->VideoWindow(); }
  // A message that may move or resize the windows. Afterwards the renderer is
  // given time to repaint the picture: a frame still being presented while the
  // next move starts is what deadlocks inside Wine.
  void Send(CSkinWnd& window, UINT message, WPARAM wParam, LPARAM lParam) {
    window.SendMessage(message, wParam, lParam);
    PumpFor(150);
  }
  void Command(UINT id) { Send(Video(), WM_COMMAND, id, 0); }
  RECT Inner() { return Video().GetInnerRect(); }
  RECT Client() { return Video().GetClientRect(); }
  int32_t Stored(const char* key) { return store_.GetInt(kVideo, key, -1); }
  // What the window paints, drawn into a bitmap: the picture's own window is
  // not part of it, only the frame, the black fill and the strip.
  struct Painting {
    std::vector<COLORREF> pixels;
    LONG width = 0;
    COLORREF At(LONG x, LONG y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    bool WhiteIn(const RECT& area) const {
      for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
          if (At(x, y) == RGB(255, 255, 255)) return true;
      return false;
    }
  };
  Painting Paint() {
    const RECT rc = Client();
    Painting out;
    out.width = rc.right;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    Video().DrawWindow(dc);
    for (LONG y = 0; y < rc.bottom; ++y)
      for (LONG x = 0; x < rc.right; ++x) out.pixels.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return out;
  }

  fw::CRegistrySettings store_;
  enginetest::CScratchFolder media_;
  std::string clip_;
  std::unique_ptr<CMainWindow> main_;
};

TEST_F(VideoWindowTest, AppearsDockedWithTheItemAndGoesWhenItStops) {
  Play();
  CVideoFrameWindow& video = Video();
  EXPECT_TRUE(::IsWindowVisible(video.m_hWnd));
  EXPECT_EQ(::GetWindow(video.m_hWnd, GW_OWNER), main_->m_hWnd);
  EXPECT_EQ(video.GetWindowText(), kVideo);
  EXPECT_EQ(video.VideoSize(), (SkinSize{320, 240}));
  // The picture is a child of the window, inside the inner area.
  const RECT picture = video.PictureRect(), inner = Inner();
  RECT inside{};
  EXPECT_TRUE(::IntersectRect(&inside, &picture, &inner) && Equal(inside, picture));

  // Moving the main window carries the touching video window along ...
  Send(*main_, WM_SKIN_MOVEDRAG, SKIN_MOUSE_DOWN, MAKELPARAM(50, 10));
  Send(*main_, WM_SKIN_MOVEDRAG, SKIN_MOUSE_MOVE | 1, MAKELPARAM(80, 30));
  Send(*main_, WM_SKIN_MOVEDRAG, SKIN_MOUSE_UP, MAKELPARAM(80, 30));
  EXPECT_TRUE(Equal(video.GetWindowRect(), {430, 120, 790, 480}));
  // ... but moving the video window leaves its owner where it is.
  Send(video, WM_SKIN_MOVEDRAG, SKIN_MOUSE_DOWN, MAKELPARAM(50, 10));
  Send(video, WM_SKIN_MOVEDRAG, SKIN_MOUSE_MOVE | 1, MAKELPARAM(150, 110));
  Send(video, WM_SKIN_MOVEDRAG, SKIN_MOUSE_UP, MAKELPARAM(150, 110));
  EXPECT_TRUE(Equal(main_->GetWindowRect(), {130, 120, 430, 420}));

  // A changed skin setting reaches the video window through the main window.
  const std::string skin = media_.File("ember.bmp");
  ASSERT_TRUE(testmedia::WriteFile(skin, skinart::EncodeBmp24(skinart::PaintSkin(skinart::Theme::Ember))));
  store_.WriteString(kVideo, "SkinPathName", skin);
  main_->SendMessage(WM_PLAYER_OPTIONSCHANGED, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return video.GetSkinPath() == skin; }));

  // The title-bar stop dot stops the item through the main window: the window goes.
  Send(video, ID_VIDEO_STOP, SKIN_MOUSE_UP, 0);
  EXPECT_TRUE(PumpUntil([&] { return main_->VideoWindow() == nullptr; }));
  EXPECT_FALSE(main_->Engine()->IsOpen());

  // A new item brings a new window; the main window's stop takes it away again.
  Play();
  Send(*main_, WM_KEYDOWN, 'V', 0);
  Send(*main_, WM_KEYUP, 'V', 0);
  EXPECT_EQ(nullptr, main_->VideoWindow());
}

// The next item's window comes back in full screen, in the place the window had
// before; after a stop the window opens as a window again.
TEST_F(VideoWindowTest, FullScreenSurvivesTheNextItem) {
  Play();
  main_->PlayList()->AddEntry(media_.Avi("second.avi", 320, 240, 100), main_->PlayList()->Count());
  const RECT windowed = Video().GetWindowRect();
  Command(ID_VIDEO_ENTER_FULL_SCREEN);
  ASSERT_TRUE(Video().IsFullScreen());
  main_->Next();
  ASSERT_TRUE(PumpUntil([&] { return main_->VideoWindow() && main_->VideoWindow()->IsWindow(); }));
  main_->Engine()->Pause();
  main_->Engine()->GetState(5000);
  EXPECT_TRUE(Video().IsFullScreen());
  Send(Video(), WM_KEYDOWN, VK_ESCAPE, 0);
  Send(Video(), WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_TRUE(Equal(Video().GetWindowRect(), windowed));
  Command(ID_VIDEO_ENTER_FULL_SCREEN);
  main_->Stop();
  EXPECT_EQ(nullptr, main_->VideoWindow());
  Play();
  EXPECT_FALSE(Video().IsFullScreen());
  EXPECT_TRUE(Equal(Video().GetWindowRect(), windowed));
}

// The Caption menu lists the playing item's languages below the modes; the one
// chosen there takes the strip's next caption and is the language the next
// file starts in.
TEST_F(VideoWindowTest, TheCaptionMenuSwitchesAndRemembersTheLanguage) {
  ASSERT_TRUE(wintest::RegisterServerModule(SAMIPARSE_MODULE_PATH));  // as the launcher does
  const std::vector<testmedia::CaptionTrack> tracks = {
      {"KRCC", "Korean", "ko-KR", {{0, "K0"}, {2500, "K1"}}},
      {"ENCC", "English", "en-US", {{0, "E0"}, {2500, "E1"}}}};
  for (const char* name : {"talk", "next"}) {
    ASSERT_TRUE(testmedia::WriteFile(media_.File(std::string(name) + ".smi"), testmedia::MakeSami(tracks)));
  }
  store_.WriteInt(kVideo, "Caption", 1);  // the strip
  clip_ = media_.Avi("talk.avi", 320, 240, 60);
  Play();
  main_->PlayList()->AddEntry(media_.Avi("next.avi", 320, 240, 60), main_->PlayList()->Count());
  auto captionItems = [&] {
    std::vector<std::pair<std::string, bool>> items;
    fw::CMenu menu = fw::CMenu::LoadResource(IDR_VIDEO_MENU);
    HMENU popup = menu.SubMenu(0);
    Video().PrepareMenu(popup);
    HMENU captions = ::GetSubMenu(popup, VIDEO_POPUP_CAPTION);
    for (int i = 0; i < ::GetMenuItemCount(captions); ++i) {
      char text[64] = {};
      ::GetMenuStringA(captions, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
      items.emplace_back(text, (::GetMenuState(captions, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0);
    }
    return items;
  };
  using Items = std::vector<std::pair<std::string, bool>>;
  const Items timing{{"", false}, {"&Earlier\tG", false}, {"&Later\tH", false}, {"In &time\tJ", false}, {"", false}};
  auto withTiming = [&](Items modes, Items languages) {
    modes.insert(modes.end(), timing.begin(), timing.end());
    modes.insert(modes.end(), languages.begin(), languages.end());
    return modes;
  };
  EXPECT_EQ(captionItems(), withTiming({{"&None", false}, {"&Window", true}, {"&Overlay", false}},
                                       {{"Korean", true}, {"English", false}}));
  main_->Engine()->Play(clip_);  // on from the pause
  ASSERT_TRUE(PumpUntil([&] { return Video().CaptionLine() == "K0"; }));
  Command(ID_CAPTION_LANGUAGE_FIRST + 1);
  ASSERT_TRUE(PumpUntil([&] { return Video().CaptionLine() != "K0"; }));
  EXPECT_EQ(Video().CaptionLine(), "E1");
  EXPECT_EQ(store_.GetString(kVideo, "CaptionLanguage", ""), "en-US");

  main_->Next();
  ASSERT_TRUE(PumpUntil([&] { return main_->VideoWindow() && main_->VideoWindow()->IsWindow(); }));
  main_->Engine()->Pause();
  main_->Engine()->GetState(5000);
  EXPECT_EQ(captionItems(), withTiming({{"&None", false}, {"&Window", true}, {"&Overlay", false}},
                                       {{"Korean", false}, {"English", true}}));
}

CMainWindow* g_stopper = nullptr;
void CALLBACK StopWhileTheMenuIsOpen(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  if (g_stopper) g_stopper->Engine()->Stop();  // as when the item ends
}

// The item ends while the user has the picture's menu open: the window must
// not be deleted under its own right-button handler, which is still inside the
// menu loop; it goes once that handler has returned.
TEST_F(VideoWindowTest, TheItemEndingWhileItsMenuIsOpenDeletesTheWindowAfterTheMenu) {
  Play();
  HWND video = Video().m_hWnd;
  g_stopper = main_.get();
  ::SetTimer(nullptr, 0, 300, &StopWhileTheMenuIsOpen);
  Video().SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(40, 60));  // returns once the menu is gone
  g_stopper = nullptr;
  EXPECT_EQ(main_->VideoWindow(), nullptr);
  EXPECT_FALSE(main_->Engine()->IsOpen());
  PumpUntil([&] { return !::IsWindow(video); }, 5000);
  EXPECT_FALSE(::IsWindow(video));
  Play();  // the next item gets a window of its own
  EXPECT_TRUE(::IsWindowVisible(Video().m_hWnd));
}

TEST_F(VideoWindowTest, SizeCommandsAndFullScreen) {
  Play();
  CVideoFrameWindow& video = Video();
  struct Row {
    UINT command;
    LONG width, height;
  } rows[] = {{ID_VIDEO_SIZE_100, 320, 240}, {ID_VIDEO_SIZE_50, 160, 120}, {ID_VIDEO_SIZE_200, 640, 480}};
  for (const Row& r : rows) {
    Command(r.command);
    EXPECT_TRUE(HasSize(Inner(), r.width, r.height)) << r.command;
    // With the ratio kept and met exactly, the picture fills the inner area.
    EXPECT_TRUE(Equal(video.PictureRect(), Inner())) << r.command;
  }
  Send(video, WM_KEYDOWN, '1', 0);
  Send(video, WM_KEYUP, '1', 0);
  EXPECT_TRUE(HasSize(Inner(), 160, 120));

  const RECT before = video.GetWindowRect();
  const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  Command(ID_VIDEO_ENTER_FULL_SCREEN);
  EXPECT_TRUE(video.IsFullScreen());
  EXPECT_TRUE(Equal(video.GetWindowRect(), screen));
  // Frame drags do nothing in full screen.
  Send(video, WM_SKIN_MOVEDRAG, SKIN_MOUSE_DOWN, MAKELPARAM(50, 10));
  Send(video, WM_SKIN_MOVEDRAG, SKIN_MOUSE_MOVE | 1, MAKELPARAM(90, 50));
  Send(video, WM_SKIN_MOVEDRAG, SKIN_MOUSE_UP, MAKELPARAM(90, 50));
  EXPECT_TRUE(Equal(video.GetWindowRect(), screen));
  // The picture keeps its ratio across the screen: 4:3 in the screen's height or width.
  const SIZE picture = SizeOf(video.PictureRect());
  EXPECT_TRUE(picture.cx == screen.right || picture.cy == screen.bottom);
  EXPECT_LE(std::abs(picture.cx * 3 - picture.cy * 4), 4);

  Command(ID_VIDEO_ENTER_FULL_SCREEN);  // already there: nothing
  Send(video, WM_KEYDOWN, VK_ESCAPE, 0);
  Send(video, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_FALSE(video.IsFullScreen());
  EXPECT_TRUE(Equal(video.GetWindowRect(), before));
  Send(video, WM_KEYDOWN, VK_ESCAPE, 0);
  Send(video, WM_KEYUP, VK_ESCAPE, 0);  // not full screen: nothing
  EXPECT_TRUE(Equal(video.GetWindowRect(), before));

  // The left dot goes in and out; a size command leaves full screen and then scales.
  Send(video, ID_VIDEO_FULLSCREEN, SKIN_MOUSE_UP, 0);
  EXPECT_TRUE(video.IsFullScreen());
  Send(video, ID_VIDEO_FULLSCREEN, SKIN_MOUSE_UP, 0);
  EXPECT_TRUE(Equal(video.GetWindowRect(), before));
  Command(ID_VIDEO_ENTER_FULL_SCREEN);
  Command(ID_VIDEO_SIZE_100);
  EXPECT_FALSE(video.IsFullScreen());
  EXPECT_EQ(video.GetWindowRect().left, before.left);
  EXPECT_TRUE(HasSize(Inner(), 320, 240));
}

TEST_F(VideoWindowTest, CaptionModesResizeTheWindowAndAreStored) {
  store_.WriteInt(kVideo, "KeepAR", 0);
  Play();
  CVideoFrameWindow& video = Video();
  EXPECT_FALSE(video.KeepsAspect());
  EXPECT_EQ(video.CaptionMode(), video::kCaptionNone);
  const SIZE picture = SizeOf(video.PictureRect());
  const LONG height = SizeOf(Client()).cy;

  store_.DeleteValue(kVideo, "Caption");
  Command(ID_CAPTION_NONE);  // the active mode: nothing changes, nothing is written
  EXPECT_EQ(Stored("Caption"), -1);

  Command(ID_CAPTION_WINDOW);
  EXPECT_EQ(Stored("Caption"), 1);
  EXPECT_EQ(SizeOf(Client()).cy, height + 90);
  const RECT pictureRect = video.PictureRect();
  EXPECT_TRUE(HasSize(pictureRect, picture.cx, picture.cy));
  // The strip lies directly below the picture, across the inner area.
  const RECT strip = video.CaptionStrip();
  EXPECT_EQ(strip.top, pictureRect.bottom);
  EXPECT_EQ(strip.bottom, Inner().bottom);
  EXPECT_EQ(strip.left, Inner().left);
  EXPECT_EQ(strip.right, Inner().right);
  Command(ID_VIDEO_SIZE_100);
  EXPECT_TRUE(HasSize(Inner(), 320, 240 + 90));

  Command(ID_CAPTION_OVERLAY);
  EXPECT_EQ(Stored("Caption"), 2);
  EXPECT_TRUE(HasSize(Inner(), 320, 240));
  const RECT noStrip = video.CaptionStrip();
  EXPECT_TRUE(::IsRectEmpty(&noStrip));
  Command(ID_CAPTION_NONE);
  EXPECT_EQ(Stored("Caption"), 0);
  EXPECT_TRUE(HasSize(Inner(), 320, 240));
  Command(ID_CAPTION_WINDOW);
  Command(ID_CAPTION_NONE);
  EXPECT_TRUE(HasSize(Inner(), 320, 240));

  // Keep ratio and caption mode survive the window; the next one reads them.
  Command(ID_CAPTION_WINDOW);
  Command(ID_VIDEO_KEEP_RATIO);
  Send(*main_, WM_KEYDOWN, 'V', 0);
  Send(*main_, WM_KEYUP, 'V', 0);
  EXPECT_EQ(nullptr, main_->VideoWindow());
  EXPECT_EQ(Stored("KeepAR"), 1);
  EXPECT_EQ(Stored("Caption"), 1);
  Play();
  EXPECT_TRUE(Video().KeepsAspect());
  EXPECT_EQ(Video().CaptionMode(), video::kCaptionWindow);
}

TEST_F(VideoWindowTest, TheStripShowsTheCleanedCaptionInWindowModeOnly) {
  Play();
  CVideoFrameWindow& video = Video();
  auto caption = [&](const wchar_t* text) {
    video.SendMessage(WM_PLAYER_CAPTIONTEXT, reinterpret_cast<WPARAM>(L"Text"), reinterpret_cast<LPARAM>(text));
  };
  caption(L"<P Class=ENCC>Hello<br>there\tagain");
  EXPECT_EQ(video.CaptionLine(), "Hello\r\nthereagain");

  Command(ID_CAPTION_WINDOW);  // the caption that came in mode None shows at once
  const RECT strip = video.CaptionStrip();
  ASSERT_FALSE(::IsRectEmpty(&strip));
  const RECT above{Inner().left, Inner().top, Inner().right, strip.top};
  Painting painted = Paint();
  EXPECT_TRUE(painted.WhiteIn({strip.left, strip.top, strip.right, strip.top + 30}));
  EXPECT_FALSE(painted.WhiteIn(above));
  EXPECT_EQ(painted.At(strip.left + 1, strip.bottom - 2), RGB(0, 0, 0));

  caption(L"<P Class=ENCC>&nbsp;");
  EXPECT_EQ(video.CaptionLine(), "");
  EXPECT_FALSE(Paint().WhiteIn(strip));

  // Ampersands are drawn as they are, not taken for accelerator prefixes:
  // "&&" shows two of what "&" shows one of.
  auto whiteCount = [&](const Painting& p) {
    int count = 0;
    for (LONG y = strip.top; y < strip.bottom; ++y)
      for (LONG x = strip.left; x < strip.right; ++x) count += p.At(x, y) == RGB(255, 255, 255);
    return count;
  };
  caption(L"<P Class=ENCC>&");  // as the parser hands it over, entities decoded
  const int one = whiteCount(Paint());
  caption(L"<P Class=ENCC>&&");
  const int two = whiteCount(Paint());
  EXPECT_GT(one, 0);
  EXPECT_NEAR(two, 2 * one, one / 5 + 1);

  caption(L"<P Class=KACC>\u10D0\u10D1");  // letters no ANSI code page has: kept, in UTF-8
  EXPECT_EQ(video.CaptionLine(), "\xE1\x83\x90\xE1\x83\x91");

  caption(L"<P Class=ENCC>Kept");
  EXPECT_TRUE(Paint().WhiteIn(strip));
  Command(ID_CAPTION_OVERLAY);
  EXPECT_EQ(video.CaptionLine(), "Kept");  // mode changes keep the line
  EXPECT_FALSE(Paint().WhiteIn(Inner()));
}

}  // namespace
}  // namespace velk
