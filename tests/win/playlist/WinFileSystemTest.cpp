// The playlist's file operations on the real file system: a file written in
// pieces, moved over another, listed with its folder and read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "player/playlist/WinFileSystem.h"

namespace velk {
namespace {

TEST(WinFileSystem, WritesInPiecesMovesOverListsAndReads) {
  char base[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, base);
  const std::string folder = std::string(base) + "velk-files-" + std::to_string(::GetCurrentProcessId());
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA((folder + "\\sub").c_str(), nullptr));
  CWinFileSystem files;
  const std::string target = folder + "\\list.m3u", temporary = folder + "\\list.tmp";

  // Pieces up to the first empty one, a large one among them.
  const std::string large(3 << 20, 'x');
  std::vector<std::string> pieces{"#EXTM3U\r\n", large, "C:\\a.mp3\r\n", "", "never written"};
  size_t next = 0;
  auto give = [&]() -> std::string_view { return pieces[next++]; };
  ASSERT_TRUE(files.WriteAll(temporary, give));
  EXPECT_EQ(next, 4u);

  // The old file is replaced in one step; the temporary name is gone.
  size_t once = 0;
  ASSERT_TRUE(files.WriteAll(target, [&]() -> std::string_view { return once++ ? "" : "old contents"; }));
  ASSERT_TRUE(files.MoveOver(temporary, target));
  std::string read;
  ASSERT_TRUE(files.ReadAll(target, read));
  EXPECT_EQ(read, "#EXTM3U\r\n" + large + "C:\\a.mp3\r\n");
  EXPECT_FALSE(files.ReadAll(temporary, read));

  std::vector<FolderItem> items;
  ASSERT_TRUE(files.ListFolder(folder, items));
  std::vector<std::string> names;
  for (const FolderItem& item : items) {
    names.push_back(item.name + (item.isFolder ? "\\" : ""));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"..\\", ".\\", "list.m3u", "sub\\"}));
  EXPECT_TRUE(files.IsFolder(folder + "\\sub"));
  EXPECT_FALSE(files.IsFolder(target));

  // Failures are reported, not hidden.
  EXPECT_FALSE(files.ListFolder(folder + "\\missing", items));
  EXPECT_FALSE(files.WriteAll(folder + "\\missing\\x.m3u", [] { return std::string_view(); }));
  EXPECT_FALSE(files.MoveOver(folder + "\\missing.tmp", target));

  EXPECT_TRUE(files.RemoveFile(target));
  EXPECT_FALSE(files.RemoveFile(target));
  ::RemoveDirectoryA((folder + "\\sub").c_str());
  EXPECT_TRUE(::RemoveDirectoryA(folder.c_str()));
}

// The lines of a UTF-8 playlist in the code page of the paths: a Korean and
// a Western system, each given its own code page.
TEST(WinFileSystem, Utf8TextInTheCodePageOfThePaths) {
  struct Row {
    unsigned codePage;
    const char* utf8;
    const char* narrow;
  } rows[] = {
      {949, "\xEC\x95\x88\xEB\x85\x95 \xEC\x9E\x90\xEB\xA7\x89.avi", "\xBE\xC8\xB3\xE7 \xC0\xDA\xB8\xB7.avi"},
      {1252, "\xEC\x95\x88\xEB\x85\x95.avi", "??.avi"},  // Hangul on a Western system
      {1252, "Caf\xC3\xA9.mp3", "Caf\xE9.mp3"},
      {949, "\xE1\x83\x90.mp3", "?.mp3"},                 // a Georgian letter, in no ANSI code page
      {1252, "C:\\a\xEF\xBC\xBC" "b.mp3", "C:\\a?b.mp3"},  // a full-width backslash is no backslash
      {1252, "\xC4\x81.mp3", "?.mp3"},                    // nor a-macron an "a": no look-alikes in paths
      {1252, "bad\xFF\xC3.mp3", "bad??.mp3"},             // bytes that are not UTF-8
      {949, "#EXTM3U\r\n\xEC\x95\x88\n", "#EXTM3U\r\n\xBE\xC8\n"},
      {65001, "\xEC\x95\x88.mp3", "\xEC\x95\x88.mp3"},    // a system whose code page is UTF-8
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.utf8);
    EXPECT_EQ(CWinFileSystem(r.codePage).FromUtf8(r.utf8), r.narrow) << r.codePage;
  }
  EXPECT_EQ(CWinFileSystem().FromUtf8("plain.mp3"), "plain.mp3");
}

// What older programs wrote, in the paths' encoding, and the paths as the
// UTF-8 that playlist files hold.
TEST(WinFileSystem, LegacyTextInThePathsEncodingAndPathsAsUtf8) {
  const char* sarang949 = "\xBB\xE7\xB6\xFB.mp3";
  const char* sarang = "\xEC\x82\xAC\xEB\x9E\x91.mp3";
  struct Row {
    unsigned codePage, legacy;
    const char* text;
    const char* path;
  } rows[] = {
      {65001, 949, sarang949, sarang},
      {65001, 1252, "caf\xE9.mp3", "caf\xC3\xA9.mp3"},
      {1252, 1252, "caf\xE9.mp3", "caf\xE9.mp3"},
      {949, 949, sarang949, sarang949},
      {1252, 949, sarang949, "??.mp3"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    CWinFileSystem files(r.codePage, r.legacy);
    EXPECT_EQ(files.FromLegacy(r.text), r.path) << r.codePage << " " << r.legacy;
  }
  EXPECT_EQ(CWinFileSystem(949).ToUtf8(sarang949), sarang);
  EXPECT_EQ(CWinFileSystem(1252).ToUtf8("caf\xE9.mp3"), "caf\xC3\xA9.mp3");
  EXPECT_EQ(CWinFileSystem(65001).ToUtf8(sarang), sarang);
}

}  // namespace
}  // namespace velk
