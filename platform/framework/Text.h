// Narrow strings of the system code page and the wide strings that COM and
// DirectShow take, one into the other: the one place the Windows layer
// converts them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace velk::fw {

// Text of the given code page (the system's by default) as UTF-16.
inline std::wstring Widen(std::string_view text, UINT codePage = CP_ACP) {
  if (text.empty()) return std::wstring();
  const int n = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

// A zero-terminated UTF-16 text in the system code page (empty for null).
inline std::string Narrow(const wchar_t* text) {
  if (!text || !*text) return std::string();
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), bytes, nullptr, nullptr);
  out.resize(static_cast<size_t>(bytes - 1));
  return out;
}

}  // namespace velk::fw
