// Paths as the player writes them: folders end at the last backslash, slash
// or drive colon, and the name follows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velk {

// Where a path's name starts: after its last backslash, slash or colon (0
// when it has none).
size_t NameStart(std::string_view path);

// "C:\Lists\pl.m3u" -> folder "C:\Lists\" (the separator kept, slashes
// written as backslashes), name "pl.m3u". A path without a separator has an
// empty folder.
struct FolderAndName {
  std::string folder;
  std::string name;
};
FolderAndName SplitFolderAndName(std::string_view path);

// "C:\Program Files\Velk\Velk.exe" -> "C:\Program Files\Velk" (no trailing backslash).
std::string FolderOfPath(std::string_view path);
// "C:\Program Files\Velk\Velk.exe" -> "Velk".
std::string BaseNameWithoutExtension(std::string_view path);

}  // namespace velk
