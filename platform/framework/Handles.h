// Owners of kernel handles and registry keys: closed when replaced or gone,
// so no code closes one by hand; and the one way a key tree is deleted.
// Header-only; every program may use them.
#pragma once

#include <windows.h>

#include <utility>

namespace velk::fw {

// A kernel handle. Files say "none" with INVALID_HANDLE_VALUE, threads and
// events with null; both count as not valid.
class CHandle {
 public:
  CHandle() = default;
  explicit CHandle(HANDLE h) : h_(h) {}
  ~CHandle() { Close(); }
  CHandle(const CHandle&) = delete;
  CHandle& operator=(const CHandle&) = delete;
  CHandle(CHandle&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  CHandle& operator=(CHandle&& other) noexcept {
    if (this != &other) {
      Close();
      h_ = std::exchange(other.h_, nullptr);
    }
    return *this;
  }
  bool Valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  // Closes now, reporting whether the system accepted the close.
  bool Close() {
    const bool ok = Valid() && ::CloseHandle(h_) != FALSE;
    h_ = nullptr;
    return ok;
  }

 private:
  HANDLE h_ = nullptr;
};

// A listing of the files a pattern matches (FindFirstFile): Valid while one
// is at hand, Next moves on; closed when gone. A failed start leaves its
// error for GetLastError.
class CFindFile {
 public:
  explicit CFindFile(const char* pattern) : find_(::FindFirstFileA(pattern, &data_)) {}
  ~CFindFile() {
    if (Valid()) ::FindClose(find_);
  }
  CFindFile(const CFindFile&) = delete;
  CFindFile& operator=(const CFindFile&) = delete;
  bool Valid() const { return find_ != INVALID_HANDLE_VALUE; }
  const WIN32_FIND_DATAA& Data() const { return data_; }
  bool Next() { return ::FindNextFileA(find_, &data_) != FALSE; }

 private:
  WIN32_FIND_DATAA data_{};  // before find_: the search fills it
  HANDLE find_;
};

// An open registry key.
class CRegKey {
 public:
  CRegKey() = default;
  ~CRegKey() { Close(); }
  CRegKey(const CRegKey&) = delete;
  CRegKey& operator=(const CRegKey&) = delete;
  LONG Open(HKEY root, const char* path, REGSAM access = KEY_READ) {
    Close();
    return ::RegOpenKeyExA(root, path, 0, access, &key_);
  }
  LONG Open(HKEY root, const wchar_t* path, REGSAM access = KEY_READ) {
    Close();
    return ::RegOpenKeyExW(root, path, 0, access, &key_);
  }
  LONG Create(HKEY root, const char* path, REGSAM access = KEY_READ | KEY_WRITE) {
    Close();
    return ::RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key_, nullptr);
  }
  LONG Create(HKEY root, const wchar_t* path, REGSAM access = KEY_READ | KEY_WRITE) {
    Close();
    return ::RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key_, nullptr);
  }
  HKEY Get() const { return key_; }
  void Close() {
    if (key_) ::RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// Deletes root\path with its values and every subkey below it; a missing key
// is ERROR_FILE_NOT_FOUND.
inline LONG DeleteKeyTree(HKEY root, const char* path) { return ::RegDeleteTreeA(root, path); }
inline LONG DeleteKeyTree(HKEY root, const wchar_t* path) { return ::RegDeleteTreeW(root, path); }

}  // namespace velk::fw
