// velkassoc: run at uninstallation. Gives the file types the player took over
// back to their previous owners, then starts the uninstaller whose command line
// it was given ("/types": none, the uninstaller is the caller). No window; one
// message box when the uninstaller cannot start.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/framework/Handles.h"
#include "velkassoc/AssocRule.h"

using velk::assoc::RegValue;

// ERROR_ELEVATION_REQUIRED: creating a program whose manifest asks for more rights.
constexpr DWORD kElevationRequired = 740;

namespace {

// The whole value, whatever its length: ask for the size, read, and ask again
// if it grew in between.
std::optional<RegValue> ReadValue(HKEY key, const char* name) {
  RegValue value;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  for (int attempt = 0; attempt < 8; ++attempt) {
    value.data.resize(size);
    DWORD got = size;
    LONG rc = ::RegQueryValueExA(key, name, nullptr, &type, value.data.data(), &got);
    if (rc == ERROR_MORE_DATA) {
      size = got > size ? got : size * 2 + 16;
      continue;
    }
    if (rc != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(got);
    value.type = type;
    return value;
  }
  return std::nullopt;
}

// True when a key holds no values and no subkeys.
bool IsEmpty(HKEY key) {
  DWORD subkeys = 0, values = 0;
  return ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

// Gives one type back and drops the player's record of it. A key that the
// player's entries alone kept (a type nobody had before) goes as well.
void RestoreExtension(const char* extension) {
  velk::fw::CRegKey key;
  if (key.Open(HKEY_CLASSES_ROOT, extension, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
  const std::optional<RegValue> backup = ReadValue(key.Get(), velk::assoc::kBackupValue);
  const velk::assoc::Restore restore = velk::assoc::RestoreOf(ReadValue(key.Get(), nullptr), backup);
  if (restore.kind == velk::assoc::Restore::kWrite) {
    ::RegSetValueExA(key.Get(), nullptr, 0, restore.value.type, restore.value.data.data(),
                     static_cast<DWORD>(restore.value.data.size()));
  } else if (restore.kind == velk::assoc::Restore::kRemove) {
    ::RegDeleteValueA(key.Get(), nullptr);
  }
  if (backup) ::RegDeleteValueA(key.Get(), velk::assoc::kBackupValue);
  const bool changed = backup || restore.kind != velk::assoc::Restore::kLeave;
  if (changed && IsEmpty(key.Get())) {
    key.Close();
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, extension);
  }
}

bool StartThroughShell(const std::string& commandLine) {
  const velk::assoc::ProgramAndArguments parts = velk::assoc::SplitCommandLine(commandLine);
  if (parts.program.empty()) return false;
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOASYNC;
  info.lpVerb = "open";
  info.lpFile = parts.program.c_str();
  info.lpParameters = parts.arguments.empty() ? nullptr : parts.arguments.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ::ShellExecuteExA(&info) != FALSE;
}

void StartUninstaller(const char* commandLine) {
  std::vector<char> cmd(commandLine, commandLine + std::strlen(commandLine) + 1);
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    const velk::fw::CHandle thread(pi.hThread), process(pi.hProcess);  // not waited for
    return;
  }
  // An uninstaller that asks for more rights than this process has cannot be
  // created directly; the shell starts it, asking the user.
  if (::GetLastError() == kElevationRequired && StartThroughShell(commandLine)) return;
  ::MessageBoxA(nullptr, "Cannot Find Uninstaller\n", "Velk Uninstaller", MB_OK);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  for (const char* extension : velk::assoc::kExtensions) RestoreExtension(extension);
  // The uninstaller itself asks for the types alone: it is already running.
  const velk::assoc::ProgramAndArguments parts = velk::assoc::SplitCommandLine(commandLine ? commandLine : "");
  if (parts.program == velk::assoc::kTypesOnlySwitch && parts.arguments.empty()) return 0;
  StartUninstaller(commandLine ? commandLine : "");
  return 0;
}
