#include <gtest/gtest.h>

#include <set>

#include "core/SettingsStore.h"
#include "player/options/OptionsRules.h"

namespace velk::options {
namespace {

TEST(OptionsRules, TreeTextsChooseTheirPageExactly) {
  struct Row {
    const char* text;
    OptionPage page;
  } rows[] = {{"Skin", OptionPage::Skin},     {"Playlist", OptionPage::Playlist},
              {"Velk", OptionPage::About},    {"skin", OptionPage::None},
              {"Playlist ", OptionPage::None}, {"", OptionPage::None},
              {"VELK", OptionPage::None}};
  for (const auto& r : rows) EXPECT_EQ(PageForTreeText(r.text), r.page) << '"' << r.text << '"';
}

TEST(OptionsRules, PageSitsRightOfTheTree) {
  // A 300 × 390 client area: half 150.
  EXPECT_EQ(PagePlacement(0, 0, 300, 390), (PageBox{125, 9, 170, 373}));
  // An odd width truncates the half.
  EXPECT_EQ(PagePlacement(0, 0, 301, 390), (PageBox{125, 9, 171, 373}));
  // The top of the client rectangle moves the page and shortens it.
  EXPECT_EQ(PagePlacement(0, 4, 300, 390), (PageBox{125, 13, 170, 369}));
}

TEST(OptionsRules, SwatchLabelIsCentredTruncating) {
  EXPECT_EQ(SwatchTextOrigin(50, 14, 30, 10).x, 10);
  EXPECT_EQ(SwatchTextOrigin(50, 14, 30, 10).y, 2);
  EXPECT_EQ(SwatchTextOrigin(51, 15, 30, 10).x, 10);
  EXPECT_EQ(SwatchTextOrigin(51, 15, 30, 10).y, 2);
  // Wider than the button: the label starts left of it.
  EXPECT_EQ(SwatchTextOrigin(20, 8, 30, 10).x, -5);
}

TEST(OptionsRules, SwatchesAreDistinctAndMeetTheWindowsThatReadThem) {
  CMemorySettings store;
  // The skin page writes "qorn mediaplayer"; the main window reads its own
  // spelling and "bktime" for the time background.
  for (const auto& s : kSkinSwatches) store.WriteInt(s.setting.section, s.setting.key, s.controlId);
  EXPECT_EQ(settings::Read(store, settings::SliderColor), 1014);
  EXPECT_EQ(settings::Read(store, settings::TimeColor), 1015);
  EXPECT_EQ(store.GetInt("Qorn mediaplayer", "bktime", 0), 1016);
  EXPECT_EQ(settings::Read(store, settings::VolumeColor), 1023);
  EXPECT_EQ(store.ValueCount(), 4u);

  std::set<int> ids;
  for (const auto& s : kPlaylistSwatches) {
    ids.insert(s.controlId);
    EXPECT_STREQ(s.setting.section, "playlist");
  }
  EXPECT_EQ(ids.size(), 4u);
  // Defaults as the windows use them.
  EXPECT_EQ(kSkinSwatches[3].setting.def, settings::VolumeColor.def);
  EXPECT_EQ(kSkinSwatches[2].setting.def, settings::TimeBackColor.def);
}

TEST(OptionsRules, SkinPathsAreTheWindowsOwn) {
  CMemorySettings store;
  settings::Write(store, kMainSkinSetting, "C:\\a.bmp");
  settings::Write(store, kVideoSkinSetting, "C:\\b.bmp");
  EXPECT_EQ(store.GetString("Qorn mediaplayer", "SkinPathName", ""), "C:\\a.bmp");
  EXPECT_EQ(store.GetString("VideoWindow", "SkinPathName", ""), "C:\\b.bmp");
  // The page shows no picture when none is stored, whatever the view falls back to.
  EXPECT_EQ(settings::Read(store, kBackgroundPathSetting), "");
}

TEST(OptionsRules, BackgroundModeRadio) {
  EXPECT_FALSE(BitmapModeChecked(10));
  EXPECT_TRUE(BitmapModeChecked(11));
  EXPECT_TRUE(BitmapModeChecked(0));  // anything but the colour mode
}

TEST(OptionsRules, FileRequests) {
  const std::string filter = "Image File(*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|";
  FileRequest skin = SkinFileRequest("C:\\Program Files\\Velk", filter);
  EXPECT_EQ(skin.defaultExt, "bmp");
  EXPECT_EQ(skin.initialName, "C:\\Program Files\\Velk\\Skins\\*.*");
  EXPECT_EQ(skin.filter, filter);
  FileRequest back = BackgroundFileRequest(filter);
  EXPECT_EQ(back.defaultExt, "bmp");
  EXPECT_EQ(back.initialName, "");
}

TEST(OptionsRules, ChooserFilterEndsWithTwoTerminators) {
  using namespace std::string_literals;
  EXPECT_EQ(ChooserFilter("Image|*.bmp|"), "Image\0*.bmp\0\0"s);
  EXPECT_EQ(ChooserFilter("Image|*.bmp"), "Image\0*.bmp\0\0"s);  // final bar missing
  EXPECT_EQ(ChooserFilter(""), "\0\0"s);
}

}  // namespace
}  // namespace velk::options
