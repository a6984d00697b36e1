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

}  // namespace
}  // namespace velk
