// The playlist's file operations over the system's file calls, with paths in
// the process code page (UTF-8 where the system honours the manifest).
#pragma once

#include "player/playlist/FileSystem.h"

namespace velk {

class CWinFileSystem : public IFileSystem {
 public:
  // Narrow paths in the code page the system's file calls take (the process
  // code page), or in the given one; legacy text in the system locale's ANSI
  // code page, or in the given one.
  CWinFileSystem() = default;
  explicit CWinFileSystem(unsigned codePage, unsigned legacyCodePage = 0)
      : codePage_(codePage), legacyCodePage_(legacyCodePage) {}

  bool ListFolder(const std::string& folder, std::vector<FolderItem>& items) override;
  bool IsFolder(const std::string& path) override;
  bool ReadAll(const std::string& path, std::string& bytes) override;
  bool WriteAll(const std::string& path, const Pieces& next) override;
  bool MoveOver(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
  std::string FromUtf8(std::string_view text) override;
  std::string FromLegacy(std::string_view text) override;
  std::string ToUtf8(std::string_view path) override;

 private:
  unsigned CodePage() const;

  unsigned codePage_ = 0;        // 0: the file calls' own
  unsigned legacyCodePage_ = 0;  // 0: the system locale's
};

}  // namespace velk
