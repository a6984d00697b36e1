#include "player/playlist/PlayListFile.h"

#include "player/app/SettingsTable.h"
#include "player/playlist/Location.h"
#include "player/playlist/PlayList.h"

namespace velk {

const char* FilterString(int number) {
  static const char* const kStrings[] = {kFilterAllSupported, kFilterAvi,      kFilterQuickTime,
                                         kFilterMpeg,         kFilterAudio,    kFilterPlayList,
                                         kFilterAllFiles,     kFilterImage};
  return (number >= 1 && number <= 8) ? kStrings[number - 1] : "";
}

std::string MediaFilesFilter() {
  std::string filter;
  for (int n = 1; n <= 7; ++n) filter += FilterString(n);
  return filter;
}

const char* AutomaticPlayListName() { return "velk.m3u"; }

std::string AutomaticPlayListFolder(const ISettingsStore& settings) {
  return settings::GetAppPath(settings) + "\\";
}

namespace {

enum class LineRule { AsIs, FromDriveRoot, Relative };

LineRule RuleFor(std::string_view line) {
  if (IsNetworkLocation(line)) return LineRule::AsIs;
  if (line.substr(0, 7) == "file://") return LineRule::AsIs;
  if (line.size() >= 2 && line[1] == ':') return LineRule::AsIs;
  if (line.substr(0, 2) == "\\\\") return LineRule::AsIs;  // UNC: no drive to put in front
  if (!line.empty() && line[0] == '\\') return LineRule::FromDriveRoot;
  return LineRule::Relative;
}

}  // namespace

std::string ResolveEntryPath(std::string_view line, std::string_view baseFolder) {
  switch (RuleFor(line)) {
    case LineRule::AsIs:
      return std::string(line);
    case LineRule::FromDriveRoot:
      return std::string(baseFolder.substr(0, 2)).append(line);
    case LineRule::Relative:
      break;
  }
  return std::string(baseFolder).append(line);
}

std::vector<std::string_view> PlayListLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    std::string_view line = bytes.substr(pos, (end == std::string_view::npos ? bytes.size() : end) - pos);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] != '#') lines.push_back(line);
    pos = next;
  }
  return lines;
}

std::string EntryLine(std::string_view path, std::string_view folder) {
  if (GetLocationKind(path) != LocationKind::File) return std::string(path);
  if (path.size() > folder.size() && path.substr(0, folder.size()) == folder) {
    std::string_view rest = path.substr(folder.size());
    if (rest[0] != '#' && RuleFor(rest) == LineRule::Relative) return std::string(rest);
  }
  if (folder.size() >= 2 && path.size() > 2 && path.substr(0, 2) == folder.substr(0, 2)) {
    std::string_view rest = path.substr(2);
    if (RuleFor(rest) == LineRule::FromDriveRoot) return std::string(rest);
  }
  return std::string(path);
}

std::string FormatPlayList(const std::vector<std::string>& paths, std::string_view folder) {
  size_t total = 0;
  for (const std::string& p : paths) total += p.size() + 2;
  std::string bytes;
  bytes.reserve(total);
  for (const std::string& p : paths) {
    // The common case (below the folder, nothing to guard) without a copy.
    std::string_view path = p;
    std::string_view rest = path.size() > folder.size() && path.substr(0, folder.size()) == folder
                                ? path.substr(folder.size())
                                : std::string_view();
    if (!rest.empty() && rest[0] != '#' && GetLocationKind(path) == LocationKind::File &&
        RuleFor(rest) == LineRule::Relative) {
      bytes.append(rest);
    } else {
      bytes.append(EntryLine(path, folder));
    }
    bytes.append("\r\n");
  }
  return bytes;
}

int32_t LoadPlayList(CPlayList& list, IFileSystem& files, const std::string& fileName,
                     const std::string& baseFolder, int32_t index) {
  std::string bytes;
  if (!files.ReadAll(baseFolder + fileName, bytes)) return 0;
  std::vector<std::string_view> lines = PlayListLines(bytes);
  std::vector<std::string> paths;
  paths.reserve(lines.size());
  for (std::string_view line : lines) paths.push_back(ResolveEntryPath(line, baseFolder));
  auto added = static_cast<int32_t>(paths.size());
  list.AddEntries(std::move(paths), index);
  return added;
}

bool WritePlayList(const CPlayList& list, IFileSystem& files, const std::string& fileName,
                   const std::string& folder) {
  const std::string target = folder + fileName;
  const std::string temp = target + ".tmp";
  if (!files.WriteAll(temp, FormatPlayList(list.Paths(), folder)) || !files.MoveOver(temp, target)) {
    files.RemoveFile(temp);
    return false;
  }
  return true;
}

}  // namespace velk
