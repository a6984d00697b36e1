#include "player/playlist/PlayListFile.h"

#include <algorithm>

#include "core/Utf8.h"
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
  return settings::ProgramFolder(settings) + "\\";
}

namespace {

enum class LineRule { AsIs, FromDriveRoot, Relative };

// The rules in the order they apply. A network location or "file://" begins
// with a letter and has no colon second, so the cheap tests may come first.
LineRule RuleFor(std::string_view line) {
  if (line.empty()) return LineRule::Relative;
  if (line.size() >= 2 && line[1] == ':') return LineRule::AsIs;
  if (line[0] == '\\') {
    // UNC: no drive to put in front.
    return line.size() >= 2 && line[1] == '\\' ? LineRule::AsIs : LineRule::FromDriveRoot;
  }
  if (IsNetworkLocation(line) || line.substr(0, 7) == "file://") return LineRule::AsIs;
  return LineRule::Relative;
}

}  // namespace

namespace {

// An upper bound for the entries of a file, found at memchr speed.
size_t CountLines(std::string_view bytes) {
  size_t lines = 1;
  for (size_t pos = bytes.find('\n'); pos != std::string_view::npos; pos = bytes.find('\n', pos + 1)) ++lines;
  return lines;
}

}  // namespace

std::string ResolveEntryPath(std::string_view line, std::string_view baseFolder) {
  switch (RuleFor(line)) {
    case LineRule::AsIs:
      return std::string(line);
    case LineRule::FromDriveRoot:
      baseFolder = baseFolder.substr(0, 2);
      break;
    case LineRule::Relative:
      break;
  }
  std::string path;
  path.reserve(baseFolder.size() + line.size());
  path.append(baseFolder).append(line);
  return path;
}

std::vector<std::string_view> PlayListLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  ForEachPlayListLine(bytes, [&](std::string_view line) { lines.push_back(line); });
  return lines;
}

std::string_view WithoutUtf8Mark(std::string_view bytes) {
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) bytes.remove_prefix(kUtf8Mark.size());
  return bytes;
}

void ForEachPlayListLine(std::string_view bytes, const std::function<void(std::string_view)>& entry) {
  // A UTF-8 byte-order mark belongs to the file, not to its first line.
  bytes = WithoutUtf8Mark(bytes);
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    std::string_view line = bytes.substr(pos, (end == std::string_view::npos ? bytes.size() : end) - pos);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] != '#') entry(line);
    pos = next;
  }
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

namespace {

// The lines of a playlist handed out in pieces of about 64 KB from one buffer.
class CLinePieces {
 public:
  // toUtf8 turns a line that is not ASCII into UTF-8 (none: the paths are).
  CLinePieces(const std::vector<std::string>& paths, std::string_view folder,
              std::function<std::string(std::string_view)> toUtf8 = nullptr)
      : paths_(paths), folder_(folder), folderIsFile_(GetLocationKind(folder) == LocationKind::File),
        toUtf8_(std::move(toUtf8)) {
    buffer_.reserve(kPiece + 512);
  }

  std::string_view Next() {
    buffer_.clear();
    while (next_ < paths_.size() && buffer_.size() < kPiece) Append(paths_[next_++]);
    return buffer_;
  }

 private:
  static constexpr size_t kPiece = 64 * 1024;

  void Append(std::string_view path) {
    // Below a folder that is itself a file location every path is one too;
    // then the usual line is the rest after the folder, when it reads back.
    if (folderIsFile_ && path.size() > folder_.size() && path.compare(0, folder_.size(), folder_) == 0) {
      std::string_view rest = path.substr(folder_.size());
      if (rest[0] != '#' && RuleFor(rest) == LineRule::Relative) {
        AppendLine(rest);
        return;
      }
    }
    AppendLine(EntryLine(path, folder_));
  }

  void AppendLine(std::string_view line) {
    if (toUtf8_ && !IsAscii(line)) {
      buffer_.append(toUtf8_(line));
    } else {
      buffer_.append(line);
    }
    buffer_.append("\r\n", 2);
  }

  const std::vector<std::string>& paths_;
  std::string_view folder_;
  bool folderIsFile_;
  std::function<std::string(std::string_view)> toUtf8_;
  size_t next_ = 0;
  std::string buffer_;
};

}  // namespace

std::string FormatPlayList(const std::vector<std::string>& paths, std::string_view folder) {
  CLinePieces pieces(paths, folder);
  size_t total = 0;
  for (const std::string& p : paths) total += p.size() + 2;  // lines are never longer than their paths
  std::string bytes;
  bytes.reserve(total);
  for (std::string_view piece = pieces.Next(); !piece.empty(); piece = pieces.Next()) bytes.append(piece);
  return bytes;
}

std::string PathTextOfLine(std::string_view line, IFileSystem& files) {
  if (IsAscii(line)) return std::string(line);
  return IsUtf8(line) ? files.FromUtf8(line) : files.FromLegacy(line);
}

int32_t LoadPlayList(CPlayList& list, IFileSystem& files, const std::string& fileName,
                     const std::string& baseFolder, int32_t index) {
  std::string bytes;
  if (!files.ReadAll(baseFolder + fileName, bytes)) return 0;
  // Each line is read by the rule for text older programs wrote, whatever the
  // file's name says: a ".m3u" another player wrote in its code page and one
  // Velk wrote in UTF-8 both read right. Line ends and "#" are single bytes in
  // every code page (no trail byte is below 0x40).
  std::vector<std::string> paths;
  paths.reserve(CountLines(bytes));
  ForEachPlayListLine(bytes, [&](std::string_view line) {
    std::string text;
    if (!IsAscii(line)) line = text = PathTextOfLine(line, files);
    paths.push_back(ResolveEntryPath(line, baseFolder));
  });
  auto added = static_cast<int32_t>(paths.size());
  list.AddEntries(std::move(paths), index);
  return added;
}

bool WritePlayList(const CPlayList& list, IFileSystem& files, const std::string& fileName,
                   const std::string& folder) {
  const std::string target = folder + fileName;
  // A temporary name of its own: a folder, or a file that cannot be written,
  // left at one name must not stop every save.
  constexpr int kTempNames = 8;
  for (int attempt = 0; attempt < kTempNames; ++attempt) {
    const std::string temp = target + (attempt == 0 ? std::string() : "." + std::to_string(attempt)) + ".tmp";
    CLinePieces pieces(list.Paths(), folder, [&files](std::string_view line) { return files.ToUtf8(line); });
    if (!files.WriteAll(temp, [&] { return pieces.Next(); })) {
      files.RemoveFile(temp);
      continue;
    }
    if (files.MoveOver(temp, target)) return true;
    files.RemoveFile(temp);  // the target refused (read-only): it is left as it is
    return false;
  }
  return false;
}

}  // namespace velk
