// The caption languages of an item as the engine offers them to the player,
// with samiparse.ax registered: the caption file's languages, and a switch in
// the middle of the item that the next caption already follows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/app/SettingsTable.h"
#include "shared/PlayerMessages.h"
#include "tests/win/ServerModule.h"
#include "tests/support/MediaGen.h"
#include "tests/win/engine/EngineTestSupport.h"

namespace velk::enginetest {
namespace {

namespace tm = velk::testmedia;

class CaptionLanguages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wintest::RegisterServerModule(SAMIPARSE_MODULE_PATH));  // as the launcher does
    SelectSettingsStore(&settings_);
    owner_.Serve(&engine_);
    owner_.AdoptVideoInto(videoHost_.GetSafeHwnd());
  }
  void TearDown() override {
    engine_.Close();
    SelectSettingsStore(nullptr);
  }

  // The texts of the captions shown so far, without their paragraph tags.
  std::string Shown() const {
    std::string shown;
    for (const Received& r : videoHost_.Of(WM_PLAYER_CAPTIONTEXT)) {
      const std::wstring& t = r.text;
      shown += std::string(t.begin() + static_cast<std::ptrdiff_t>(t.find(L'>') + 1), t.end()) + " ";
    }
    return shown;
  }

  CMemorySettings settings_;
  CScratchFolder media_;
  CRecordingWnd owner_;
  CRecordingWnd videoHost_;  // stands for the player's video window
  CPlaybackEngine engine_{&owner_, settings_};
};

TEST_F(CaptionLanguages, SwitchingMidItemChangesTheNextCaption) {
  const std::string avi = media_.Avi("talk.avi", 176, 144, 40);  // 4 s
  ASSERT_TRUE(tm::WriteFile(media_.File("talk.smi"),
                            tm::MakeSami(std::vector<tm::CaptionTrack>{
                                {"KRCC", "Korean", "ko-KR", {{0, "K0"}, {500, "K1"}, {3000, "K2"}}},
                                {"ENCC", "English", "en-US", {{200, "E0"}, {2500, "E1"}, {3500, "E2"}}},
                            })));
  EXPECT_TRUE(engine_.CaptionLanguages().empty()) << "nothing open";
  ASSERT_TRUE(engine_.Open(avi));
  ASSERT_TRUE(engine_.CaptionFlags() & CPlaybackEngine::kCaptionRendered);

  auto languages = engine_.CaptionLanguages();
  ASSERT_EQ(2u, languages.size());
  EXPECT_EQ("Korean", languages[0].name);
  EXPECT_EQ("ko-KR", languages[0].lang);
  EXPECT_TRUE(languages[0].selected);
  EXPECT_EQ("English", languages[1].name);
  EXPECT_EQ("en-US", languages[1].lang);
  EXPECT_FALSE(languages[1].selected);
  EXPECT_FALSE(engine_.SelectCaptionLanguage(2));
  EXPECT_FALSE(engine_.SelectCaptionLanguage(-1));

  ASSERT_TRUE(engine_.Play(avi));
  ASSERT_TRUE(PumpUntil([&] { return videoHost_.Count(WM_PLAYER_CAPTIONTEXT) >= 2; }));
  // K1 (at 0.5 s) is on screen; English from here on, long before E1 (2.5 s).
  ASSERT_TRUE(engine_.SelectCaptionLanguage(1));
  languages = engine_.CaptionLanguages();
  ASSERT_EQ(2u, languages.size());
  EXPECT_FALSE(languages[0].selected);
  EXPECT_TRUE(languages[1].selected);
  EXPECT_EQ("K0 K1 ", Shown()) << "the caption on screen stays until the next";
  ASSERT_TRUE(PumpUntil([&] { return owner_.Count(WM_PLAYER_ENDOFMEDIA) >= 1; }));
  EXPECT_EQ("K0 K1 E1 E2 ", Shown()) << "E0 is past; K2 is not shown";

  engine_.Close();
  EXPECT_TRUE(engine_.CaptionLanguages().empty());
  EXPECT_FALSE(engine_.SelectCaptionLanguage(0));
}

}  // namespace
}  // namespace velk::enginetest
