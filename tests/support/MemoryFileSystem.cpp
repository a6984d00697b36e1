#include "tests/support/MemoryFileSystem.h"

#include <algorithm>
#include <cstdint>

namespace velk::testing {

namespace {

void Link(std::map<std::string, std::vector<FolderItem>>& folders, const std::string& path, bool isFolder) {
  size_t cut = path.rfind('\\');
  if (cut == std::string::npos || cut == 0) return;
  std::string parent = path.substr(0, cut);
  std::string name = path.substr(cut + 1);
  bool known = folders.count(parent) != 0;
  auto& items = folders[parent];
  if (std::none_of(items.begin(), items.end(), [&](const FolderItem& i) { return i.name == name; })) {
    items.push_back({name, isFolder});
  }
  if (!known && parent.size() > 2) Link(folders, parent, true);
}

}  // namespace

void CMemoryFileSystem::AddFile(const std::string& path, const std::string& bytes) {
  files[path] = bytes;
  Link(folders, path, false);
}

void CMemoryFileSystem::AddFolder(const std::string& path) {
  folders[path];
  Link(folders, path, true);
}

std::string CMemoryFileSystem::Contents(const std::string& path) const {
  auto f = files.find(path);
  return f == files.end() ? std::string() : f->second;
}

bool CMemoryFileSystem::ListFolder(const std::string& folder, std::vector<FolderItem>& items) {
  ++listings;
  if (std::find(unlistable.begin(), unlistable.end(), folder) != unlistable.end()) return false;
  auto f = folders.find(folder);
  if (f == folders.end()) return false;
  items = {{".", true}, {"..", true}};
  items.insert(items.end(), f->second.begin(), f->second.end());
  return true;
}

bool CMemoryFileSystem::ReadAll(const std::string& path, std::string& bytes) {
  auto f = files.find(path);
  if (f == files.end()) return false;
  bytes = f->second;
  return true;
}

bool CMemoryFileSystem::WriteAll(const std::string& path, const Pieces& next) {
  if (folders.count(path)) return false;  // a folder is in the way
  std::string& bytes = files[path];
  bytes.clear();
  for (std::string_view piece = next(); !piece.empty(); piece = next()) {
    if (writeLimit >= 0 && static_cast<long>(bytes.size() + piece.size()) > writeLimit) {
      bytes.append(piece.substr(0, static_cast<size_t>(writeLimit) - bytes.size()));
      return false;
    }
    bytes.append(piece);
  }
  return true;
}

bool CMemoryFileSystem::MoveOver(const std::string& from, const std::string& to) {
  auto f = files.find(from);
  if (f == files.end()) return false;
  std::string bytes = std::move(f->second);
  files.erase(f);
  files[to] = std::move(bytes);
  return true;
}

std::string CMemoryFileSystem::FromUtf8(std::string_view text) {
  auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    // One character, or one "?" for a malformed or unfinished sequence.
    const unsigned lead = byte(i);
    const size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    uint32_t code = length == 1 ? lead : lead & (0xFFu >> (length + 1));
    size_t n = 1;
    for (; n < length && i + n < text.size() && (byte(i + n) & 0xC0) == 0x80; ++n) {
      code = (code << 6) | (byte(i + n) & 0x3F);
    }
    const bool valid = length != 0 && n == length && (length < 3 || code >= (length == 3 ? 0x800u : 0x10000u)) &&
                       code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    out += valid && code <= 0xFF ? static_cast<char>(code) : '?';
    i += n;
  }
  return out;
}

std::string CMemoryFileSystem::ToUtf8(std::string_view path) {
  std::string out;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

}  // namespace velk::testing
