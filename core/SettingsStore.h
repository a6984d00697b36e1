// The per-user settings store: sections of keys holding 32-bit integers or
// strings. Section and key names compare without regard to case, because the
// player's own pieces spell them differently ("Bktime" / "bktime",
// "Qorn mediaplayer" / "qorn mediaplayer") and must meet in one value.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace velk {

class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  // A missing value, or one stored with the other type, yields the default.
  virtual int32_t GetInt(std::string_view section, std::string_view key, int32_t def) const = 0;
  virtual std::string GetString(std::string_view section, std::string_view key,
                                std::string_view def) const = 0;
  virtual bool WriteInt(std::string_view section, std::string_view key, int32_t value) = 0;
  virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual bool DeleteValue(std::string_view section, std::string_view key) = 0;
};

// ASCII case folding, as the registry does for the names the player uses.
struct NoCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};
bool EqualNoCase(std::string_view a, std::string_view b);

// The store used by tests and as the default before the program selects the
// registry.
class CMemorySettings : public ISettingsStore {
 public:
  int32_t GetInt(std::string_view section, std::string_view key, int32_t def) const override;
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view def) const override;
  bool WriteInt(std::string_view section, std::string_view key, int32_t value) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;
  bool DeleteValue(std::string_view section, std::string_view key) override;

  size_t ValueCount() const;

 private:
  struct Value {
    bool isText = false;
    int32_t number = 0;
    std::string text;
  };
  const Value* Find(std::string_view section, std::string_view key) const;
  std::map<std::string, std::map<std::string, Value, NoCaseLess>, NoCaseLess> sections_;
};

// The store the running program reads and writes. The application selects the
// registry at start-up (as a framework application selects its profile);
// tests select a store of their own. Never null.
ISettingsStore& AppSettings();
void SelectSettingsStore(ISettingsStore* store);  // null restores the built-in memory store

}  // namespace velk
