#include "tests/e2e/FileTypes.h"

namespace velk::e2e {

const char* const kExtensions[5] = {".mp3", ".avi", ".asf", ".mpg", ".m3u"};

Value ReadValue(HKEY key, const char* name) {
  Value v;
  DWORD size = 0;
  if (::RegQueryValueExA(key, name, nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS) return v;
  v.data.resize(size);
  if (::RegQueryValueExA(key, name, nullptr, &v.type, reinterpret_cast<BYTE*>(v.data.data()),
                         &size) != ERROR_SUCCESS)
    return Value{};
  v.data.resize(size);
  v.present = true;
  return v;
}

KeyState Read(const char* ext) {
  KeyState s;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ext, 0, KEY_READ, &key) != ERROR_SUCCESS) return s;
  s.exists = true;
  s.def = ReadValue(key, nullptr);
  s.back = ReadValue(key, "Velk_Back");
  ::RegCloseKey(key);
  return s;
}

static void WriteValue(HKEY key, const char* name, const Value& v) {
  if (v.present) {
    ::RegSetValueExA(key, name, 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                     static_cast<DWORD>(v.data.size()));
  } else {
    ::RegDeleteValueA(key, name);
  }
}

bool Write(const char* ext, const KeyState& s) {
  if (!s.exists) {
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ext);
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ext);
    return true;
  }
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, ext, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    return false;
  WriteValue(key, nullptr, s.def);
  WriteValue(key, "Velk_Back", s.back);
  ::RegCloseKey(key);
  return true;
}

Value Sz(const std::string& text, DWORD type) {
  Value v{true, type, text};
  v.data.push_back('\0');
  return v;
}

KeyState Owned(const Value& def, const Value& back) { return KeyState{true, def, back}; }

}  // namespace velk::e2e
