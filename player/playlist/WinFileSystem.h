// The playlist's file operations over the system's file calls, with paths in
// the ANSI code page.
#pragma once

#include "player/playlist/FileSystem.h"

namespace velk {

class CWinFileSystem : public IFileSystem {
 public:
  bool ListFolder(const std::string& folder, std::vector<FolderItem>& items) override;
  bool IsFolder(const std::string& path) override;
  bool ReadAll(const std::string& path, std::string& bytes) override;
  bool WriteAll(const std::string& path, const Pieces& next) override;
  bool MoveOver(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
};

}  // namespace velk
