#include "platform/framework/RegistrySettings.h"

#include <vector>

#include "platform/framework/Handles.h"

namespace velk::fw {

CRegistrySettings::CRegistrySettings(HKEY root, std::string programKey)
    : root_(root), programKey_(std::move(programKey)) {}

std::string CRegistrySettings::SectionPath(std::string_view section) const {
  if (section.empty()) return programKey_;
  return programKey_ + "\\" + std::string(section);
}

int32_t CRegistrySettings::GetInt(std::string_view section, std::string_view key, int32_t def) const {
  CRegKey k;
  if (k.Open(root_, SectionPath(section).c_str()) != ERROR_SUCCESS) return def;
  DWORD type = 0, value = 0, size = sizeof(value);
  if (::RegQueryValueExA(k.Get(), std::string(key).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value)) {
    return def;
  }
  return static_cast<int32_t>(value);
}

std::string CRegistrySettings::GetString(std::string_view section, std::string_view key,
                                         std::string_view def) const {
  CRegKey k;
  if (k.Open(root_, SectionPath(section).c_str()) != ERROR_SUCCESS) return std::string(def);
  const std::string name(key);
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::string(def);
  }
  // The value may grow between the two calls; ask again until it fits.
  std::vector<char> buf(size + 1);
  for (;;) {
    DWORD got = static_cast<DWORD>(buf.size());
    LONG rc = ::RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(buf.data()), &got);
    if (rc == ERROR_MORE_DATA) {
      buf.resize(buf.size() * 2);
      continue;
    }
    if (rc != ERROR_SUCCESS) return std::string(def);
    std::string text(buf.data(), got);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  }
}

bool CRegistrySettings::WriteInt(std::string_view section, std::string_view key, int32_t value) {
  CRegKey k;
  if (k.Create(root_, SectionPath(section).c_str()) != ERROR_SUCCESS) return false;
  DWORD v = static_cast<DWORD>(value);
  return ::RegSetValueExA(k.Get(), std::string(key).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&v), sizeof(v)) == ERROR_SUCCESS;
}

bool CRegistrySettings::WriteString(std::string_view section, std::string_view key,
                                    std::string_view value) {
  CRegKey k;
  if (k.Create(root_, SectionPath(section).c_str()) != ERROR_SUCCESS) return false;
  std::string v(value);
  return ::RegSetValueExA(k.Get(), std::string(key).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(v.c_str()),
                          static_cast<DWORD>(v.size() + 1)) == ERROR_SUCCESS;
}

bool CRegistrySettings::DeleteValue(std::string_view section, std::string_view key) {
  CRegKey k;
  if (k.Open(root_, SectionPath(section).c_str(), KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  return ::RegDeleteValueA(k.Get(), std::string(key).c_str()) == ERROR_SUCCESS;
}

bool CRegistrySettings::DeleteAll() {
  const LONG rc = DeleteKeyTree(root_, programKey_.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace velk::fw
