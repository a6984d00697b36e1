#include <gtest/gtest.h>

#include "player/playlist/Location.h"

namespace velk {
namespace {

TEST(Location, KindsAndDisplayTexts) {
  struct Row {
    const char* path;
    LocationKind kind;
    const char* display;
  } rows[] = {
      {"C:\\Music\\a.mp3", LocationKind::File, "a.mp3"},
      {"c:x.mp3", LocationKind::File, "c:x.mp3"},
      {"C://x", LocationKind::File, "C://x"},                      // one letter is a drive, not a scheme
      {"C:\\Music\\", LocationKind::File, ""},
      {"\\Music\\a.mp3", LocationKind::File, "a.mp3"},             // rooted without a drive
      {"\\\\server\\share\\b.wav", LocationKind::File, "b.wav"},   // UNC
      {"file://C:/a.mp3", LocationKind::File, "file://C:/a.mp3"},
      {"http://host/a\\b.mp3", LocationKind::Network, "http://host/a\\b.mp3"},
      {"mms://host/stream", LocationKind::Network, "mms://host/stream"},
      {"rtsp+x.y-z://h", LocationKind::Network, "rtsp+x.y-z://h"},
      {"FILE://x", LocationKind::Network, "FILE://x"},             // only the lower-case file scheme is a file
      {"1ab://x", LocationKind::Unparsed, "1ab://x"},
      {"ab:/x", LocationKind::Unparsed, "ab:/x"},
      {"www.example.com", LocationKind::Unparsed, "www.example.com"},
      {"music\\a.mp3", LocationKind::Unparsed, "music\\a.mp3"},
      {"", LocationKind::Unparsed, ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(GetLocationKind(r.path), r.kind) << r.path;
    EXPECT_EQ(DisplayText(r.path), r.display) << r.path;
  }
}

TEST(Location, ExtensionRulesAreExactCase) {
  EXPECT_TRUE(IsPlaylistName("C:\\a\\list.m3u"));
  EXPECT_TRUE(IsPlaylistName("C:\\a\\song.M3U"));
  EXPECT_FALSE(IsPlaylistName("C:\\a\\list.M3u"));
  EXPECT_FALSE(IsPlaylistName("C:\\a.m3u\\list"));  // the text after the last dot is "m3u\list"
  EXPECT_FALSE(IsPlaylistName("C:\\a\\list.m3U"));
  for (const char* yes : {"c.bmp", "c.BMP", "c.jpg", "c.JPG", "c.gif", "c.GIF"}) EXPECT_TRUE(IsBackgroundPictureName(yes));
  for (const char* no : {"cover.Jpg", "cover.jpeg", "cover.png", "cover"}) EXPECT_FALSE(IsBackgroundPictureName(no));
  // Caption files in any case; a folder's dot or a longer extension is no caption file.
  for (const char* yes : {"f.smi", "f.SMI", "f.Sami", "f.srt", "f.SRT", "f.vTt"}) EXPECT_TRUE(IsCaptionFileName(yes));
  for (const char* no : {"C:\a.srt\film", "f.srtx", "f.sm", "smi", "f.sub"}) EXPECT_FALSE(IsCaptionFileName(no));
}

TEST(Location, PlayListFileKinds) {
  struct Row {
    const char* path;
    PlayListFileKind kind;
  } rows[] = {
      {"C:\\a\\list.m3u", PlayListFileKind::CodePage},
      {"C:\\a\\LIST.M3U", PlayListFileKind::CodePage},
      {"C:\\a\\list.m3u8", PlayListFileKind::Utf8},
      {"C:\\a\\list.M3U8", PlayListFileKind::Utf8},
      {"C:\\a\\list.mp3.m3u8", PlayListFileKind::Utf8},
      {"\\\\server\\lists\\.m3u8", PlayListFileKind::Utf8},
      {"C:\\a\\list.M3u8", PlayListFileKind::None},  // capitals all or none, as for "m3u"
      {"C:\\a\\list.m3U8", PlayListFileKind::None},
      {"C:\\a\\list.m3u8x", PlayListFileKind::None},
      {"C:\\a\\list.m3u8.mp3", PlayListFileKind::None},
      {"C:\\a.m3u8\\list", PlayListFileKind::None},  // a folder's dot
      {"C:\\a\\m3u8", PlayListFileKind::None},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(PlayListFileKindOf(r.path), r.kind) << r.path;
    EXPECT_EQ(IsPlaylistName(r.path), r.kind != PlayListFileKind::None) << r.path;
  }
}

TEST(Location, SplitAndTypedLocations) {
  FolderAndName parts = SplitFolderAndName("C:\\Lists\\pl.m3u");
  EXPECT_EQ(parts.folder, "C:\\Lists\\");
  EXPECT_EQ(parts.name, "pl.m3u");
  EXPECT_EQ(SplitFolderAndName("pl.m3u").folder, "");
  parts = SplitFolderAndName("C:/x/mine.m3u");  // written with forward slashes
  EXPECT_EQ(parts.folder, "C:\\x\\");
  EXPECT_EQ(parts.name, "mine.m3u");
  EXPECT_EQ(SplitFolderAndName("D:pl.m3u").folder, "D:");

  EXPECT_EQ(LocationToAdd(""), "http://");
  EXPECT_EQ(LocationToAdd("radio.example.com:8000"), "http://radio.example.com:8000");
  EXPECT_EQ(LocationToAdd("D:\\x.wav"), "D:\\x.wav");
  EXPECT_EQ(LocationToAdd("http://host/x"), "http://host/x");
}

}  // namespace
}  // namespace velk
