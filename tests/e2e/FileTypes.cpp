#include "tests/e2e/FileTypes.h"

#include <algorithm>

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

void ReadTree(HKEY root, const std::string& name, const std::string& path, RegistryTable* table) {
  fw::CRegKey key;
  if (key.Open(root, path.c_str(), KEY_READ | KEY_WOW64_64KEY) != ERROR_SUCCESS) return;
  auto& values = (*table)[name + "\\" + path];
  DWORD subkeys = 0, longestKey = 0, count = 0, longestName = 0;
  ::RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, &longestKey, nullptr, &count, &longestName,
                     nullptr, nullptr, nullptr);
  std::vector<char> buf(std::max(longestKey, longestName) + 2);
  for (DWORD i = 0; i < count; ++i) {
    DWORD n = static_cast<DWORD>(buf.size());
    if (::RegEnumValueA(key.Get(), i, buf.data(), &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
    const std::string valueName(buf.data(), n);
    values[valueName] = ReadValue(key.Get(), valueName.empty() ? nullptr : valueName.c_str());
  }
  std::vector<std::string> children;
  for (DWORD i = 0; i < subkeys; ++i) {
    DWORD n = static_cast<DWORD>(buf.size());
    if (::RegEnumKeyExA(key.Get(), i, buf.data(), &n, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      children.emplace_back(buf.data(), n);
  }
  key.Close();
  for (const std::string& child : children) ReadTree(root, name, path + "\\" + child, table);
}

void WriteTree(HKEY root, const std::string& name, const std::string& path, const RegistryTable& table) {
  ::RegDeleteTreeA(root, path.c_str());
  const std::string top = name + "\\" + path;
  for (const auto& [row, values] : table) {
    if (row != top && row.rfind(top + "\\", 0) != 0) continue;
    fw::CRegKey key;
    const std::string sub = path + row.substr(top.size());
    if (key.Create(root, sub.c_str(), KEY_WRITE | KEY_WOW64_64KEY) != ERROR_SUCCESS) continue;
    for (const auto& [valueName, v] : values) WriteValue(key.Get(), valueName.empty() ? nullptr : valueName.c_str(), v);
  }
}

static std::string Show(const Value& v) {
  std::string text = "type " + std::to_string(v.type) + " \"";
  for (char c : v.data) text += c ? std::string(1, c) : std::string("\\0");
  return text + "\"";
}

void PrintTo(const Value& v, std::ostream* os) { *os << (v.present ? Show(v) : std::string("none")); }

std::vector<std::string> Differences(const RegistryTable& before, const RegistryTable& after) {
  std::vector<std::string> lines;
  for (const auto& [row, values] : before) {
    auto now = after.find(row);
    if (now == after.end()) {
      lines.push_back("key gone: " + row);
      continue;
    }
    for (const auto& [valueName, v] : values) {
      auto it = now->second.find(valueName);
      if (it == now->second.end()) lines.push_back("value gone: " + row + " [" + valueName + "] " + Show(v));
      else if (!(it->second == v)) lines.push_back("changed: " + row + " [" + valueName + "] " + Show(v) + " -> " + Show(it->second));
    }
    for (const auto& [valueName, v] : now->second) {
      if (!values.count(valueName)) lines.push_back("value added: " + row + " [" + valueName + "] " + Show(v));
    }
  }
  for (const auto& [row, values] : after) {
    if (!before.count(row)) lines.push_back("key added: " + row + " (" + std::to_string(values.size()) + " values)");
  }
  return lines;
}

}  // namespace velk::e2e
