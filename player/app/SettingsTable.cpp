#include "player/app/SettingsTable.h"

namespace velk::settings {

int32_t Read(const ISettingsStore& store, const IntSetting& s) {
  return store.GetInt(s.section, s.key, s.def);
}

std::string Read(const ISettingsStore& store, const TextSetting& s) {
  return store.GetString(s.section, s.key, s.def);
}

bool Write(ISettingsStore& store, const IntSetting& s, int32_t value) {
  return store.WriteInt(s.section, s.key, value);
}

bool Write(ISettingsStore& store, const TextSetting& s, const std::string& value) {
  return store.WriteString(s.section, s.key, value);
}

int32_t Read(const ISettingsStore& store, const char* section, const WindowIntKey& k) {
  return store.GetInt(section, k.key, k.def);
}

bool Write(ISettingsStore& store, const char* section, const WindowIntKey& k, int32_t value) {
  return store.WriteInt(section, k.key, value);
}

namespace {
std::string& RunningProgramFolder() {
  static std::string folder;
  return folder;
}
}  // namespace

void SetRunningProgramFolder(std::string folder) { RunningProgramFolder() = std::move(folder); }

std::string ProgramFolder(const ISettingsStore& store) {
  const std::string& running = RunningProgramFolder();
  return running.empty() ? Read(store, AppPath) : running;
}

std::string DefaultBackgroundPath(const ISettingsStore& store) {
  return ProgramFolder(store) + "\\list.bmp";
}

std::string ReadBackgroundPath(const ISettingsStore& store) {
  return store.GetString(kPlaylistSection, kBackgroundPathKey, DefaultBackgroundPath(store));
}

}  // namespace velk::settings
