// File-type entries of the registry as tests see them: an extension key with
// its default value (the owning class) and the saved previous owner.
#pragma once

#include <windows.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace velk::e2e {

extern const char* const kExtensions[5];

struct Value {
  bool present = false;
  DWORD type = 0;
  std::string data;
  bool operator==(const Value& o) const {
    return present == o.present && type == o.type && data == o.data;
  }
};

// Failures show a value as its type and text.
void PrintTo(const Value& v, std::ostream* os);

struct KeyState {
  bool exists = false;
  Value def, back;
  bool operator==(const KeyState& o) const {
    return exists == o.exists && def == o.def && back == o.back;
  }
};

Value ReadValue(HKEY key, const char* name);
KeyState Read(const char* ext);
// Puts an extension key into exactly this state (a missing key is removed).
bool Write(const char* ext, const KeyState& s);
// A zero-terminated text value.
Value Sz(const std::string& text, DWORD type = REG_SZ);
KeyState Owned(const Value& def, const Value& back);

// A registry tree as a table: each key's path below the root, with its values
// by name ("" the default value), so that two states compare row by row.
using RegistryTable = std::map<std::string, std::map<std::string, Value>>;
// Adds root\path and everything below it (nothing when the key is missing);
// rows are named "name\path". KEY_WOW64_64KEY view.
void ReadTree(HKEY root, const std::string& name, const std::string& path, RegistryTable* table);
// Puts root\path into the state a ReadTree of it gave (its rows named "name\path").
void WriteTree(HKEY root, const std::string& name, const std::string& path, const RegistryTable& table);
// The rows that differ, one line each: missing, added or changed keys and values.
std::vector<std::string> Differences(const RegistryTable& before, const RegistryTable& after);

}  // namespace velk::e2e
