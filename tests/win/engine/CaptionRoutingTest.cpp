// The engine's caption path against real Wine graphs, with the recording
// stand-in of Karvex.ax beside this program: the caption probe, registration
// around each captioned item, and caption events routed by the caption mode.
#include <gtest/gtest.h>

#include <string>

#include "player/app/SettingsTable.h"
#include "player/video/VideoLayout.h"
#include "shared/PlayerMessages.h"
#include "tests/win/engine/EngineTestSupport.h"
#include "tests/win/engine/RecordingKarvex.h"

namespace velk::enginetest {
namespace {

std::string ReadRecord(const char* name) {
  char data[4096] = {};
  DWORD size = sizeof(data);
  if (::RegGetValueA(HKEY_CURRENT_USER, RECORDING_KARVEX_KEY, name, RRF_RT_REG_SZ | RRF_RT_REG_BINARY,
                     nullptr, data, &size) != ERROR_SUCCESS) {
    return std::string();
  }
  std::string value(data, size);
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

DWORD CaptionCount() {
  DWORD count = 0, size = sizeof(count);
  ::RegGetValueA(HKEY_CURRENT_USER, RECORDING_KARVEX_KEY, "captions", RRF_RT_REG_DWORD, nullptr, &count,
                 &size);
  return count;
}

bool FilterClassRegistered() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, KARVEX_CLSID_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

class CaptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetRecord();
    SelectSettingsStore(&settings_);
    owner_.Serve(&engine_);
    owner_.AdoptVideoInto(videoHost_.GetSafeHwnd());
  }
  void TearDown() override {
    engine_.Close();
    SelectSettingsStore(nullptr);
    ForgetRecord();
  }
  static void ForgetRecord() { ::RegDeleteTreeA(HKEY_CURRENT_USER, RECORDING_KARVEX_KEY); }
  static std::string Calls() { return ReadRecord("calls"); }

  // A captioned video item, opened, with its announced video window.
  IVideoWindow* OpenCaptionedVideo() {
    const std::string avi = media_.Avi("talk.avi", 176, 144, 20);
    media_.Sami("talk.smi");
    if (!engine_.Open(avi)) return nullptr;
    auto announced = owner_.Of(WM_PLAYER_VIDEOWINDOW);
    return announced.empty() ? nullptr : reinterpret_cast<IVideoWindow*>(announced.back().wParam);
  }
  void SetMode(int32_t mode) { settings::Write(settings_, settings::CaptionMode, mode); }
  // Raises a caption event and waits until the engine has drained it.
  bool Raise(IUnknown* graphPart, const wchar_t* kind, const wchar_t* text) {
    const size_t before = owner_.Count(WM_PLAYER_GRAPHEVENT);
    return RaiseCaptionEvent(graphPart, kind, text) &&
           PumpUntil([&] { return owner_.Count(WM_PLAYER_GRAPHEVENT) > before; });
  }

  CMemorySettings settings_;
  CScratchFolder media_;
  CRecordingWnd owner_;
  CRecordingWnd videoHost_;  // stands for the player's video window
  CPlaybackEngine engine_{&owner_, settings_};
};

TEST_F(CaptionTest, ProbeFindsTheCaptionFileBesideTheMedia) {
  enum Smi { kPresent, kAbsent, kHeldWithoutSharing };
  struct Row {
    const char* base;
    Smi smi;
  } rows[] = {{"present", kPresent}, {"absent", kAbsent}, {"held", kHeldWithoutSharing}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.base);
    ForgetRecord();
    const std::string base = r.base;
    const std::string avi = media_.Avi(base + ".avi", 160, 120, 10);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (r.smi != kAbsent) media_.Sami(base + ".smi");
    if (r.smi == kHeldWithoutSharing) {
      held = ::CreateFileA(media_.File(base + ".smi").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    ASSERT_TRUE(engine_.Open(avi));
    if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);

    if (r.smi == kPresent) {
      // Registered first, then created from that registration.
      EXPECT_EQ(Calls(), "RC");
      EXPECT_TRUE(FilterClassRegistered());
      EXPECT_TRUE(engine_.HasCaptionOverlay());
      const uint32_t expected = SamiRenders(media_.File(base + ".smi"))
                                    ? CPlaybackEngine::kCaptionRendered | CPlaybackEngine::kOverlayInGraph
                                    : 0u;
      EXPECT_EQ(engine_.CaptionFlags(), expected);
    } else {
      EXPECT_EQ(Calls(), "");
      EXPECT_FALSE(engine_.HasCaptionOverlay());
      EXPECT_EQ(engine_.CaptionFlags(), 0u);
    }
    engine_.Close();
    EXPECT_EQ(Calls(), r.smi == kPresent ? "RCU" : "");
    EXPECT_FALSE(FilterClassRegistered());
    EXPECT_EQ(engine_.CaptionFlags(), 0u);
  }
}

TEST_F(CaptionTest, RegistrationBracketsEachCaptionedItem) {
  const std::string a = media_.Avi("a.avi", 160, 120, 10);
  const std::string b = media_.Wav("b.wav", 1000);
  const std::string c = media_.Avi("c.avi", 160, 120, 10);
  media_.Sami("a.smi");
  media_.Sami("b.smi");
  ASSERT_TRUE(engine_.Open(a));
  ASSERT_TRUE(engine_.Open(b));  // audio with captions: the filter goes in all the same
  EXPECT_EQ(Calls(), "RCURC");
  ASSERT_TRUE(engine_.Open(c));  // no captions: unregistered, and stays so
  EXPECT_EQ(Calls(), "RCURCU");
  EXPECT_FALSE(FilterClassRegistered());
  engine_.Close();
  EXPECT_EQ(Calls(), "RCURCU");
}

// A filter that cannot be made: the item plays without it, and the module the
// engine registered for it is unregistered by the close all the same.
TEST_F(CaptionTest, AFilterThatCannotBeMadeStillLeavesTheModuleUnregistered) {
  const std::string avi = media_.Avi("a.avi", 160, 120, 10);
  media_.Sami("a.smi");
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, RECORDING_KARVEX_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
            ERROR_SUCCESS);
  const DWORD refuse = 1;
  ::RegSetValueExA(key, "refuse", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&refuse), sizeof(refuse));
  ASSERT_TRUE(engine_.Open(avi));
  EXPECT_FALSE(engine_.HasCaptionOverlay());
  EXPECT_EQ(Calls(), "R");
  engine_.Close();
  EXPECT_EQ(Calls(), "RU");
  EXPECT_FALSE(FilterClassRegistered());
  ::RegDeleteValueA(key, "refuse");
  ::RegCloseKey(key);
}

TEST_F(CaptionTest, UnrenderableCaptionFileKeepsTheFilterUntilClose) {
  const std::string avi = media_.Avi("bad.avi", 160, 120, 10);
  media_.Garbage("bad.smi");
  ASSERT_TRUE(engine_.Open(avi));
  EXPECT_EQ(engine_.CaptionFlags(), 0u);
  EXPECT_TRUE(engine_.HasCaptionOverlay());
  auto announced = owner_.Of(WM_PLAYER_VIDEOWINDOW);
  ASSERT_EQ(announced.size(), 1u);
  auto graph = GraphOf(reinterpret_cast<IVideoWindow*>(announced[0].wParam));
  ASSERT_TRUE(graph);
  ComPtr<IBaseFilter> filter;
  EXPECT_HRESULT_SUCCEEDED(graph->FindFilterByName(L"Karvex", filter.Receive()));
  filter.Reset();
  graph.Reset();
  engine_.Close();
  EXPECT_EQ(Calls(), "RCU");
}

TEST_F(CaptionTest, EachCaptionFollowsTheModeStoredAtThatMoment) {
  IVideoWindow* video = OpenCaptionedVideo();
  ASSERT_NE(video, nullptr);
  ASSERT_TRUE(engine_.HasCaptionOverlay());
  struct Row {
    int32_t mode;
    const wchar_t* text;
    const char* overlay;  // what the filter is given
  } rows[] = {
      {video::kCaptionOverlay, L"<P Class=ENCC>First caption", "<P Class=ENCC>First caption"},
      {video::kCaptionWindow, L"<P Class=ENCC>Second", ""},
      {video::kCaptionNone, L"<P Class=ENCC>Third", ""},
      {video::kCaptionOverlay, L"Caf\u00e9 &nbsp", "Caf\xe9 &nbsp"},
      // Letters no ANSI code page has (Georgian) reach the filter as marks.
      {video::kCaptionOverlay, L"<P Class=KACC>\u10D0\u10D1", "<P Class=KACC>??"},
  };
  DWORD count = 0;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.mode);
    SetMode(r.mode);
    ASSERT_TRUE(Raise(video, L"Text", r.text));
    EXPECT_EQ(CaptionCount(), ++count);
    EXPECT_EQ(ReadRecord("caption"), r.overlay);
    // In every mode the video window gets both strings.
    auto shown = videoHost_.Of(WM_PLAYER_CAPTIONTEXT);
    ASSERT_EQ(shown.size(), count);
    EXPECT_EQ(shown.back().kind, L"Text");
    EXPECT_EQ(shown.back().text, r.text);
  }
  EXPECT_EQ(owner_.Count(WM_PLAYER_CAPTIONTEXT), 0u);

  // An event without its first string is no caption.
  ASSERT_TRUE(Raise(video, nullptr, L"ignored"));
  EXPECT_EQ(CaptionCount(), count);
  EXPECT_EQ(videoHost_.Count(WM_PLAYER_CAPTIONTEXT), count);
}

TEST_F(CaptionTest, LongCaptionsAreCutToWhatTheFilterTakes) {
  IVideoWindow* video = OpenCaptionedVideo();
  ASSERT_NE(video, nullptr);
  SetMode(video::kCaptionOverlay);
  struct Row {
    size_t length;
    size_t passed;
  } rows[] = {{1255, 1255}, {1256, 1255}, {5000, 1255}, {10, 10}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.length);
    const std::wstring text(r.length, L'x');
    ASSERT_TRUE(Raise(video, L"Text", text.c_str()));
    EXPECT_EQ(ReadRecord("caption"), std::string(r.passed, 'x'));
    EXPECT_EQ(videoHost_.Of(WM_PLAYER_CAPTIONTEXT).back().text.size(), r.length);  // shown whole
  }
}

TEST_F(CaptionTest, CaptionsOfAnItemWithoutVideoGoNowhere) {
  const std::string wav = media_.Wav("voice.wav", 1500);
  media_.Sami("voice.smi");
  ASSERT_TRUE(engine_.Open(wav));
  ASSERT_TRUE(engine_.HasCaptionOverlay());
  EXPECT_FALSE(engine_.HasVideoWindow());
  SetMode(video::kCaptionOverlay);
  // The graph's own notification carries its events interface: reach the graph through it.
  ASSERT_TRUE(engine_.SetPosition(1));
  ASSERT_TRUE(engine_.Play(""));
  ASSERT_TRUE(PumpUntil([&] { return owner_.Count(WM_PLAYER_ENDOFMEDIA) > 0; }));
  auto* events = reinterpret_cast<IUnknown*>(owner_.Of(WM_PLAYER_GRAPHEVENT).front().lParam);
  ASSERT_TRUE(Raise(events, L"Text", L"Nobody sees this"));
  EXPECT_EQ(CaptionCount(), 0u);
  EXPECT_EQ(owner_.Count(WM_PLAYER_CAPTIONTEXT), 0u);
  EXPECT_EQ(videoHost_.Count(WM_PLAYER_CAPTIONTEXT), 0u);
}

}  // namespace
}  // namespace velk::enginetest
