// Files and folders in memory, keyed by their full path with backslashes,
// for the playlist's file operations. Writes can be made to fail part-way, as
// on a full disk. Narrow paths are Latin-1, as on a Western system before
// UTF-8: UTF-8 text keeps its first 256 characters, everything else becomes
// "?"; the legacy code page is Latin-1 too.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "player/playlist/FileSystem.h"

namespace velk::testing {

class CMemoryFileSystem : public IFileSystem {
 public:
  // Adds a file and every folder above it ("C:\a\b.mp3" makes "C:\a").
  void AddFile(const std::string& path, const std::string& bytes = std::string());
  void AddFolder(const std::string& path);
  bool Exists(const std::string& path) const { return files.count(path) != 0; }
  std::string Contents(const std::string& path) const;

  bool ListFolder(const std::string& folder, std::vector<FolderItem>& items) override;
  bool IsFolder(const std::string& path) override { return folders.count(path) != 0; }
  bool ReadAll(const std::string& path, std::string& bytes) override;
  bool WriteAll(const std::string& path, const Pieces& next) override;
  bool MoveOver(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override { return files.erase(path) != 0; }
  std::string FromUtf8(std::string_view text) override;
  std::string FromLegacy(std::string_view text) override { return std::string(text); }
  std::string ToUtf8(std::string_view path) override;

  std::map<std::string, std::string> files;
  // Each folder's names in the order a listing gives them (files and folders mixed).
  std::map<std::string, std::vector<FolderItem>> folders;
  std::vector<std::string> unlistable;  // folders whose listing fails
  long writeLimit = -1;                 // bytes a write gets through before the disk is full; -1: no limit
  int listings = 0;
};

}  // namespace velk::testing
