#include <gtest/gtest.h>

#include "player/app/SettingsTable.h"
#include "core/StartupRules.h"

namespace velk {
namespace {

TEST(SettingsStore, SectionAndKeyNamesIgnoreCase) {
  CMemorySettings store;
  store.WriteInt("Qorn mediaplayer", "Bktime", 0x123456);
  EXPECT_EQ(store.GetInt("qorn MEDIAPLAYER", "bktime", 0), 0x123456);
  store.WriteInt("qorn mediaplayer", "BKTIME", 7);  // the same value, not a second one
  EXPECT_EQ(store.GetInt("Qorn mediaplayer", "Bktime", 0), 7);
  EXPECT_EQ(store.ValueCount(), 1u);
}

TEST(SettingsStore, MissingOrOtherTypeYieldsTheDefault) {
  CMemorySettings store;
  EXPECT_EQ(store.GetInt("playlist", "curtrack", 42), 42);
  EXPECT_EQ(store.GetString("playlist", "bkpath", "x"), "x");
  store.WriteString("playlist", "curtrack", "3");
  EXPECT_EQ(store.GetInt("playlist", "curtrack", -1), -1);
  store.WriteInt("playlist", "bkpath", 3);
  EXPECT_EQ(store.GetString("playlist", "bkpath", "d"), "d");
  EXPECT_TRUE(store.DeleteValue("PLAYLIST", "BkPath"));
  EXPECT_FALSE(store.DeleteValue("playlist", "bkpath"));
}

TEST(SettingsStore, EmptySectionIsTheProgramKeyAndDistinctFromOthers) {
  CMemorySettings store;
  store.WriteString("", "AppPath", "C:\\Velk");
  EXPECT_EQ(settings::ProgramFolder(store), "C:\\Velk");
  EXPECT_EQ(store.GetString("playlist", "AppPath", ""), "");
}

TEST(SettingsTable, DefaultsAndDerivedPaths) {
  CMemorySettings store;
  EXPECT_EQ(settings::Read(store, settings::TimeBackColor), 0x400040);
  EXPECT_EQ(settings::Read(store, settings::BackgroundMode), 10);
  EXPECT_EQ(settings::Read(store, settings::KeepAspectRatio), 1);
  EXPECT_EQ(settings::Read(store, settings::kVideoSection, settings::PlacementRight), 300);
  // With no folder recorded the picture falls to the root of the drive.
  EXPECT_EQ(settings::ReadBackgroundPath(store), "\\list.bmp");
  settings::Write(store, settings::AppPath, std::string("C:\\Velk"));
  EXPECT_EQ(settings::ReadBackgroundPath(store), "C:\\Velk\\list.bmp");
  store.WriteString("Playlist", "BKPATH", "D:\\pic.jpg");
  EXPECT_EQ(settings::ReadBackgroundPath(store), "D:\\pic.jpg");
}

TEST(SettingsStore, SelectedStoreIsUsedAndNullRestoresTheBuiltIn) {
  CMemorySettings mine;
  SelectSettingsStore(&mine);
  AppSettings().WriteInt("VideoWindow", "Caption", 2);
  EXPECT_EQ(mine.GetInt("videowindow", "caption", 0), 2);
  SelectSettingsStore(nullptr);
  EXPECT_NE(&AppSettings(), static_cast<ISettingsStore*>(&mine));
}

TEST(StartupRules, RecordedFolder) {
  auto holds = [](const std::string& file) { return file == "C:\\Velk\\Velk.exe"; };
  struct Row {
    const char* stored;
    const char* module;
    const char* expected;  // null: nothing written
  } rows[] = {
      {"", "C:\\Velk", "C:\\Velk"},             // first start from anywhere
      {"C:\\Velk", "C:\\Velk", nullptr},        // already right
      {"C:\\Velk", "D:\\Copy", nullptr},        // a second copy leaves a valid record alone
      {"C:\\Gone", "C:\\Velk", "C:\\Velk"},     // the recorded folder lost the program
      {"", "", nullptr},                        // no module folder known
  };
  for (const auto& r : rows) {
    auto got = AppPathToRecord(r.stored, "Velk", r.module, holds);
    if (r.expected) {
      ASSERT_TRUE(got.has_value()) << r.stored << " / " << r.module;
      EXPECT_EQ(*got, r.expected);
    } else {
      EXPECT_FALSE(got.has_value()) << r.stored << " / " << r.module;
    }
  }
  EXPECT_EQ(FolderOfPath("C:\\Program Files\\Velk\\Velk.exe"), "C:\\Program Files\\Velk");
  EXPECT_EQ(FolderOfPath("C:\\Velk.exe"), "C:");
  EXPECT_EQ(BaseNameWithoutExtension("C:\\a.b\\Velk.exe"), "Velk");
  EXPECT_EQ(BaseNameWithoutExtension("Velk"), "Velk");
}

}  // namespace
}  // namespace velk
