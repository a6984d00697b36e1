// Resources: the module the player takes them from, and string-table entries
// read whole. The overloads that name a module are header-only, for the
// filter modules as well as the player.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velk::fw {

// The module whose resources (dialogs, menus, bitmaps, strings) the player
// uses: the program itself, unless a test points it at the built Velk.exe.
HINSTANCE ResourceInstance();
void SetResourceInstance(HINSTANCE instance);

// A string-table entry holds at most this many characters.
constexpr size_t kMaxResourceString = 4096;

// String resource `id` of `module`, whole; empty when there is none.
inline std::string LoadResourceString(HINSTANCE module, UINT id) {
  std::vector<char> buf(kMaxResourceString + 1, '\0');
  const int n = ::LoadStringA(module, id, buf.data(), static_cast<int>(buf.size()));
  return std::string(buf.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

inline std::wstring LoadResourceStringW(HINSTANCE module, UINT id) {
  std::vector<wchar_t> buf(kMaxResourceString + 1, L'\0');
  const int n = ::LoadStringW(module, id, buf.data(), static_cast<int>(buf.size()));
  return std::wstring(buf.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

// String resource `id` of ResourceInstance().
std::string LoadResourceString(UINT id);

}  // namespace velk::fw
