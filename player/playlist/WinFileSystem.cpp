#include "player/playlist/WinFileSystem.h"

#include <windows.h>

#include <algorithm>

#include "platform/framework/Handles.h"
#include "platform/framework/Text.h"

namespace velk {

namespace {

// Large reads and writes go in pieces the 32-bit byte counts can carry.
constexpr size_t kMaxTransfer = size_t{1} << 30;

bool WritePiece(HANDLE file, std::string_view piece) {
  while (!piece.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min(piece.size(), kMaxTransfer));
    DWORD written = 0;
    if (!::WriteFile(file, piece.data(), chunk, &written, nullptr) || written != chunk) return false;
    piece.remove_prefix(chunk);
  }
  return true;
}

}  // namespace

bool CWinFileSystem::ListFolder(const std::string& folder, std::vector<FolderItem>& items) {
  items.clear();
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += "*.*";
  fw::CFindFile find(pattern.c_str());
  if (!find.Valid()) {
    // A drive root with nothing on it has no "." to list, yet is a folder.
    return ::GetLastError() == ERROR_FILE_NOT_FOUND && IsFolder(folder);
  }
  do {
    const WIN32_FIND_DATAA& found = find.Data();
    items.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                     (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (find.Next());
  return true;
}

bool CWinFileSystem::IsFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CWinFileSystem::ReadAll(const std::string& path, std::string& bytes) {
  bytes.clear();
  fw::CHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.Valid()) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return false;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min(bytes.size() - done, kMaxTransfer));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), &bytes[done], chunk, &got, nullptr)) return false;
    if (got == 0) break;  // the file became shorter while it was read
    done += got;
  }
  bytes.resize(done);
  return true;
}

bool CWinFileSystem::WriteAll(const std::string& path, const Pieces& next) {
  fw::CHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  for (std::string_view piece = next(); !piece.empty(); piece = next()) {
    if (!WritePiece(file.Get(), piece)) return false;
  }
  if (!::FlushFileBuffers(file.Get())) return false;
  return file.Close();
}

bool CWinFileSystem::MoveOver(const std::string& from, const std::string& to) {
  // A read-only file is not replaced (Windows refuses it; Wine would not).
  const DWORD attributes = ::GetFileAttributesA(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool CWinFileSystem::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

unsigned CWinFileSystem::CodePage() const {
  if (codePage_ != 0) return codePage_;
  return ::AreFileApisANSI() ? ::GetACP() : ::GetOEMCP();
}

std::string CWinFileSystem::FromUtf8(std::string_view text) {
  // Bytes that are not UTF-8 arrive as U+FFFD, which no ANSI code page has.
  if (CodePage() == CP_UTF8) return fw::Narrow(fw::Widen(text, CP_UTF8), CP_UTF8);
  return fw::Narrow(fw::Widen(text, CP_UTF8), CodePage(), fw::NarrowMisses::DefaultCharacter);
}

std::string CWinFileSystem::FromLegacy(std::string_view text) {
  const unsigned legacy = legacyCodePage_ != 0 ? legacyCodePage_ : fw::LegacyCodePage();
  if (legacy == CodePage()) return std::string(text);
  return fw::Narrow(fw::Widen(text, legacy), CodePage(), fw::NarrowMisses::DefaultCharacter);
}

std::string CWinFileSystem::ToUtf8(std::string_view path) {
  if (CodePage() == CP_UTF8) return std::string(path);
  return fw::Narrow(fw::Widen(path, CodePage()), CP_UTF8);
}

}  // namespace velk
