#include "player/playlist/Location.h"

namespace velk {

namespace {

constexpr bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

struct SchemeChars {
  bool table[256] = {};
  constexpr SchemeChars() {
    for (int c = 0; c < 256; ++c) {
      table[c] = IsAsciiLetter(static_cast<char>(c)) || IsAsciiDigit(static_cast<char>(c)) || c == '+' ||
                 c == '-' || c == '.';
    }
  }
};
constexpr SchemeChars kSchemeChars;

// Length of the scheme name when the text starts with "scheme://", else 0.
// Every playlist line passes through here, so it is kept lean.
size_t SchemeLength(std::string_view path) {
  if (path.empty() || !IsAsciiLetter(path[0])) return 0;
  size_t n = 1;
  while (n < path.size() && kSchemeChars.table[static_cast<unsigned char>(path[n])]) ++n;
  if (n < 2 || path.size() - n < 3) return 0;
  return (path[n] == ':' && path[n + 1] == '/' && path[n + 2] == '/') ? n : 0;
}

}  // namespace

LocationKind GetLocationKind(std::string_view path) {
  size_t scheme = SchemeLength(path);
  if (scheme != 0) return path.substr(0, scheme) == "file" ? LocationKind::File : LocationKind::Network;
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') return LocationKind::File;
  if (!path.empty() && path[0] == '\\') return LocationKind::File;
  return LocationKind::Unparsed;
}

bool IsNetworkLocation(std::string_view path) { return GetLocationKind(path) == LocationKind::Network; }

std::string_view DisplayText(std::string_view path) {
  if (GetLocationKind(path) != LocationKind::File) return path;
  size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view TextAfterLastDot(std::string_view path) {
  size_t dot = path.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}

PlayListFileKind PlayListFileKindOf(std::string_view path) {
  std::string_view ext = TextAfterLastDot(path);
  if (ext == "m3u" || ext == "M3U") return PlayListFileKind::CodePage;
  if (ext == "m3u8" || ext == "M3U8") return PlayListFileKind::Utf8;
  return PlayListFileKind::None;
}

bool IsPlaylistName(std::string_view path) { return PlayListFileKindOf(path) != PlayListFileKind::None; }

bool IsCaptionFileName(std::string_view path) {
  const std::string_view ext = TextAfterLastDot(path);
  if (ext.size() < 3 || ext.size() > 4) return false;
  std::string lower;
  for (const char c : ext) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower == "smi" || lower == "sami" || lower == "srt" || lower == "vtt";
}

bool IsBackgroundPictureName(std::string_view path) {
  std::string_view ext = TextAfterLastDot(path);
  for (const char* known : {"bmp", "BMP", "jpg", "JPG", "gif", "GIF"}) {
    if (ext == known) return true;
  }
  return false;
}

std::string LocationToAdd(std::string_view typed) {
  LocationKind kind = GetLocationKind(typed);
  if (kind == LocationKind::Network || kind == LocationKind::File) return std::string(typed);
  return "http://" + std::string(typed);
}

}  // namespace velk
