#include "core/Paths.h"

#include <algorithm>

namespace velk {

size_t NameStart(std::string_view path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? 0 : cut + 1;
}

FolderAndName SplitFolderAndName(std::string_view path) {
  const size_t start = NameStart(path);
  std::string folder(path.substr(0, start));
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  return {folder, std::string(path.substr(start))};
}

std::string FolderOfPath(std::string_view path) {
  const size_t start = NameStart(path);
  if (start == 0) return std::string();
  // A drive's colon stays with its drive; a backslash or slash goes.
  return std::string(path.substr(0, path[start - 1] == ':' ? start : start - 1));
}

std::string BaseNameWithoutExtension(std::string_view path) {
  const std::string_view name = path.substr(NameStart(path));
  return std::string(name.substr(0, std::min(name.size(), name.find_last_of('.'))));
}

}  // namespace velk
