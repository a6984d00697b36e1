// Narrow strings of the process code page (UTF-8 where the system honours the
// program's manifest) and the wide strings that COM, DirectShow and the
// drawing calls take, one into the other: the one place the Windows layer
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

// How a character the code page lacks is written: as its nearest look-alike
// where the code page has one (a caption's a-macron as "a"), or only ever as
// the code page's default character ("?"), as paths need: a look-alike (a
// full-width backslash as a backslash) would name another file.
enum class NarrowMisses { BestFit, DefaultCharacter };

// UTF-16 text in the given code page (the system's by default).
inline std::string Narrow(std::wstring_view text, UINT codePage = CP_ACP,
                          NarrowMisses misses = NarrowMisses::BestFit) {
  if (text.empty()) return std::string();
  // The UTF code pages take no flags: every character has its bytes there.
  if (codePage == CP_ACP) codePage = ::GetACP();
  const bool exact = misses == NarrowMisses::DefaultCharacter && codePage != CP_UTF8 && codePage != CP_UTF7;
  const DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
  const int length = static_cast<int>(text.size());
  const int bytes = ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(codePage, flags, text.data(), length, out.data(), bytes, nullptr, nullptr);
  return out;
}

// The code page that programs without UTF-8 wrote their text in: the system
// locale's ANSI code page, which the process's own code page may have replaced
// with UTF-8.
inline UINT LegacyCodePage() {
  DWORD codePage = 0;
  if (::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&codePage), sizeof(codePage) / sizeof(WCHAR)) &&
      codePage != 0 && codePage != CP_UTF8) {
    return codePage;
  }
  return ::GetACP() == CP_UTF8 ? 1252 : ::GetACP();
}

// A zero-terminated UTF-16 text in the system code page (empty for null).
inline std::string Narrow(const wchar_t* text) { return text ? Narrow(std::wstring_view(text)) : std::string(); }

}  // namespace velk::fw
