// The playlist's file operations over the system's file calls, with paths in
// the ANSI code page.
#pragma once

#include "player/playlist/FileSystem.h"

namespace velk {

class CWinFileSystem : public IFileSystem {
 public:
  // Narrow paths in the code page the system's file calls take (the ANSI code
  // page), or in the given one.
  CWinFileSystem() = default;
  explicit CWinFileSystem(unsigned codePage) : codePage_(codePage) {}

  bool ListFolder(const std::string& folder, std::vector<FolderItem>& items) override;
  bool IsFolder(const std::string& path) override;
  bool ReadAll(const std::string& path, std::string& bytes) override;
  bool WriteAll(const std::string& path, const Pieces& next) override;
  bool MoveOver(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
  std::string FromUtf8(std::string_view text) override;

 private:
  unsigned CodePage() const;

  unsigned codePage_ = 0;  // 0: the file calls' own
};

}  // namespace velk
