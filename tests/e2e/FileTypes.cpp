#include "tests/e2e/FileTypes.h"

#include <vector>

#include "platform/framework/Handles.h"

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
  fw::CRegKey key;
  if (key.Open(HKEY_CLASSES_ROOT, ext) != ERROR_SUCCESS) return s;
  s.exists = true;
  s.def = ReadValue(key.Get(), nullptr);
  s.back = ReadValue(key.Get(), "Velk_Back");
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
    fw::DeleteKeyTree(HKEY_CLASSES_ROOT, ext);
    return true;
  }
  fw::CRegKey key;
  if (key.Create(HKEY_CLASSES_ROOT, ext, KEY_ALL_ACCESS) != ERROR_SUCCESS) return false;
  WriteValue(key.Get(), nullptr, s.def);
  WriteValue(key.Get(), "Velk_Back", s.back);
  return true;
}

Value Sz(const std::string& text, DWORD type) {
  Value v{true, type, text};
  v.data.push_back('\0');
  return v;
}

KeyState Owned(const Value& def, const Value& back) { return KeyState{true, def, back}; }

void ReadTree(HKEY root, const std::string& path, RegistryRows* rows) {
  fw::CRegKey key;
  if (key.Open(root, path.c_str(), KEY_READ | KEY_WOW64_64KEY) != ERROR_SUCCESS) return;
  (*rows)[path] = "key";
  char name[1024];
  DWORD n = sizeof(name);
  for (DWORD i = 0; ::RegEnumValueA(key.Get(), i, name, &n, 0, 0, 0, 0) == ERROR_SUCCESS; ++i, n = sizeof(name)) {
    const Value v = ReadValue(key.Get(), name);
    (*rows)[path + " [" + name + "]"] = std::to_string(v.type) + " " + v.data;
  }
  std::vector<std::string> children;
  for (DWORD i = 0; ::RegEnumKeyExA(key.Get(), i, name, &n, 0, 0, 0, 0) == ERROR_SUCCESS; ++i, n = sizeof(name))
    children.push_back(path + "\\" + name);
  for (const std::string& child : children) ReadTree(root, child, rows);
}

}  // namespace velk::e2e
