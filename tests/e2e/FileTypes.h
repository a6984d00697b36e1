// File-type entries of the registry as tests see them: an extension key with
// its default value (the owning class) and the saved previous owner.
#pragma once

#include <windows.h>

#include <map>
#include <string>

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

// A registry tree as rows (the 64-bit view): a key's path, and "path [name]"
// with the type and bytes of each of its values; states compare row by row.
using RegistryRows = std::map<std::string, std::string>;
void ReadTree(HKEY root, const std::string& path, RegistryRows* rows);

}  // namespace velk::e2e
