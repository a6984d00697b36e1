#include "core/SettingsStore.h"

#include <algorithm>

namespace velk {

namespace {
char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool NoCaseLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) {
                                        return static_cast<unsigned char>(Fold(x)) <
                                               static_cast<unsigned char>(Fold(y));
                                      });
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

const CMemorySettings::Value* CMemorySettings::Find(std::string_view section,
                                                    std::string_view key) const {
  auto s = sections_.find(section);
  if (s == sections_.end()) return nullptr;
  auto v = s->second.find(key);
  return v == s->second.end() ? nullptr : &v->second;
}

int32_t CMemorySettings::GetInt(std::string_view section, std::string_view key, int32_t def) const {
  const Value* v = Find(section, key);
  return (v && !v->isText) ? v->number : def;
}

std::string CMemorySettings::GetString(std::string_view section, std::string_view key,
                                       std::string_view def) const {
  const Value* v = Find(section, key);
  return (v && v->isText) ? v->text : std::string(def);
}

bool CMemorySettings::WriteInt(std::string_view section, std::string_view key, int32_t value) {
  Value& v = sections_[std::string(section)][std::string(key)];
  v.isText = false;
  v.number = value;
  v.text.clear();
  return true;
}

bool CMemorySettings::WriteString(std::string_view section, std::string_view key,
                                  std::string_view value) {
  Value& v = sections_[std::string(section)][std::string(key)];
  v.isText = true;
  v.number = 0;
  v.text = std::string(value);
  return true;
}

bool CMemorySettings::DeleteValue(std::string_view section, std::string_view key) {
  auto s = sections_.find(section);
  if (s == sections_.end()) return false;
  auto v = s->second.find(key);
  if (v == s->second.end()) return false;
  s->second.erase(v);
  return true;
}

size_t CMemorySettings::ValueCount() const {
  size_t n = 0;
  for (const auto& s : sections_) n += s.second.size();
  return n;
}

namespace {
ISettingsStore* g_selected = nullptr;
CMemorySettings& BuiltIn() {
  static CMemorySettings store;
  return store;
}
}  // namespace

ISettingsStore& AppSettings() { return g_selected ? *g_selected : BuiltIn(); }
void SelectSettingsStore(ISettingsStore* store) { g_selected = store; }

}  // namespace velk
