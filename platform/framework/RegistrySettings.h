// The settings store over the registry: the program key (for the player
// HKEY_CURRENT_USER\Software\Velk) with one subkey per section; the empty
// section is the program key itself. Integers are REG_DWORD, strings REG_SZ.
// The registry compares names without regard to case, as the store promises.
#pragma once

#include <windows.h>

#include <string>

#include "core/SettingsStore.h"

namespace velk::fw {

class CRegistrySettings : public ISettingsStore {
 public:
  // root: HKEY_CURRENT_USER for the player; tests pass a key of their own.
  CRegistrySettings(HKEY root, std::string programKey);

  int32_t GetInt(std::string_view section, std::string_view key, int32_t def) const override;
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view def) const override;
  bool WriteInt(std::string_view section, std::string_view key, int32_t value) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;
  bool DeleteValue(std::string_view section, std::string_view key) override;

  const std::string& ProgramKey() const { return programKey_; }
  // Removes the program key with everything below it (tests clean up with it).
  bool DeleteAll();

 private:
  std::string SectionPath(std::string_view section) const;
  HKEY root_;
  std::string programKey_;
};

}  // namespace velk::fw
