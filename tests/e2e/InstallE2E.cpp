// The installer and the uninstaller against the real registry: the take-over
// of the five file types with the saved owners, an associated file opening in
// the installed player, and the way back, from the uninstall entry and from
// uninstall.exe itself: the registry as it was before, but for the settings
// the user chose to keep.
#include <gtest/gtest.h>

#include "platform/framework/Handles.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/FileTypes.h"
#include "tests/support/MediaGen.h"

namespace velk::e2e {
namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velk";

std::string TempPath(const char* name) {
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string MachineString(const char* key, const char* name) {
  fw::CRegKey k;
  if (k.Open(HKEY_LOCAL_MACHINE, key, KEY_READ | KEY_WOW64_64KEY) != ERROR_SUCCESS) return std::string();
  Value v = ReadValue(k.Get(), name);
  return v.present ? std::string(v.data.c_str()) : std::string();
}

// The image path of a process, or empty.
std::string ImageOf(DWORD pid) {
  fw::CHandle h(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!h.Valid()) return std::string();
  char buf[MAX_PATH * 2] = {};
  DWORD n = sizeof(buf);
  return ::QueryFullProcessImageNameA(h.Get(), 0, buf, &n) ? std::string(buf, n) : "";
}

struct PlayerWindow {
  HWND hwnd = nullptr;
  DWORD pid = 0;
};

// A shown main window of a player started from the given program file.
PlayerWindow WaitForPlayerFrom(const std::string& program, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  do {
    PlayerWindow found;
    // The title becomes the playing entry's text, so the main window is the
    // skinned window without an owner.
    for (HWND h = ::FindWindowA("VelkSkinWnd", nullptr); h;
         h = ::FindWindowExA(nullptr, h, "VelkSkinWnd", nullptr)) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(h, &pid);
      if (::IsWindowVisible(h) && !::GetWindow(h, GW_OWNER) &&
          _stricmp(ImageOf(pid).c_str(), program.c_str()) == 0) {
        return PlayerWindow{h, pid};
      }
    }
    ::Sleep(100);
  } while (::GetTickCount() - start < timeoutMs);
  return PlayerWindow{};
}

// Installation's traces in the registry, besides the settings.
RegistryTable MachineTable() {
  RegistryTable table;
  for (const char* ext : kExtensions) ReadTree(HKEY_CLASSES_ROOT, "HKCR", ext, &table);
  ReadTree(HKEY_CLASSES_ROOT, "HKCR", "Velk.File", &table);
  ReadTree(HKEY_LOCAL_MACHINE, "HKLM", kUninstallKey, &table);
  return table;
}

RegistryTable SettingsTable() {
  RegistryTable table;
  ReadTree(HKEY_CURRENT_USER, "HKCU", "Software\\Velk", &table);
  return table;
}

// A top-level dialog, of any process, with a control showing the text.
HWND WaitForDialogSaying(const std::string& text, DWORD timeoutMs) {
  struct Search {
    const std::string* text;
    HWND found;
  } search{&text, nullptr};
  const DWORD start = ::GetTickCount();
  do {
    for (HWND h = ::FindWindowA("#32770", nullptr); h && !search.found; h = ::FindWindowExA(nullptr, h, "#32770", nullptr)) {
      ::EnumChildWindows(
          h,
          [](HWND child, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char buf[256] = {};
            ::GetWindowTextA(child, buf, sizeof(buf));
            if (std::string(buf).find(*s->text) == std::string::npos) return TRUE;
            s->found = ::GetAncestor(child, GA_ROOT);
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&search));
    }
    if (search.found) return search.found;
    ::Sleep(100);
  } while (::GetTickCount() - start < timeoutMs);
  return nullptr;
}

bool WriteText(const std::string& path, const std::string& text) {
  fw::CHandle f(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD n = 0;
  return f.Valid() && ::WriteFile(f.Get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
}

class Install : public ::testing::Test {
 protected:
  void SetUp() override {
    types_ = MachineTable();
    settings_ = SettingsTable();
    // A machine that never had the player.
    fw::DeleteKeyTree(HKEY_CLASSES_ROOT, "Velk.File");
    fw::DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
  }
  void TearDown() override {
    for (const char* ext : kExtensions) WriteTree(HKEY_CLASSES_ROOT, "HKCR", ext, types_);
    WriteTree(HKEY_CURRENT_USER, "HKCU", "Software\\Velk", settings_);
  }
  void InstallInto(const std::string& dir) {
    ::CreateDirectoryA(dir.c_str(), nullptr);
    CProcess setup;
    ASSERT_TRUE(setup.Start(WindowsPathOf(VELK_SETUP_UNIX), "/S /D=" + dir));
    DWORD code = 1;
    ASSERT_TRUE(setup.WaitExit(60000, &code));
    ASSERT_EQ(code, 0u);
  }
  RegistryTable types_, settings_;
};

TEST_F(Install, TakesTheTypesOverOpensFilesAndGivesThemBack) {
  // Owners before the installation: an expandable value, an empty text, a
  // type with no key, and one with a key but no default.
  Write(".avi", KeyState{true, Sz("avifile"), Value{}});
  Write(".mp3", KeyState{true, Sz("%SystemRoot%\\mp3player.exe", REG_EXPAND_SZ), Value{}});
  Write(".m3u", KeyState{true, Sz(""), Value{}});
  Write(".mpg", KeyState{});
  Write(".asf", KeyState{});
  {
    fw::CRegKey asf;
    ASSERT_EQ(asf.Create(HKEY_CLASSES_ROOT, ".asf", KEY_WRITE), ERROR_SUCCESS);
    ::RegSetValueExA(asf.Get(), "Content Type", 0, REG_SZ, reinterpret_cast<const BYTE*>("video/x-ms-asf"), 15);
  }
  const RegistryTable before = MachineTable();
  const std::string dir = TempPath("VelkInstallTest");
  InstallInto(dir);

  for (const char* file : {"Velk.exe", "velkassoc.exe", "uninstall.exe"})
    EXPECT_TRUE(FileExists(dir + "\\" + file)) << file;
  EXPECT_EQ(ReadUserString("Software\\Velk", "AppPath"), dir);
  for (const char* ext : kExtensions) EXPECT_EQ(Read(ext).def, Sz("Velk.File")) << ext;
  EXPECT_EQ(Read(".avi").back, Sz("avifile"));
  EXPECT_EQ(Read(".mp3").back, Sz("%SystemRoot%\\mp3player.exe", REG_EXPAND_SZ));
  EXPECT_EQ(Read(".m3u").back, Sz(""));
  // No owner before: recorded as no value, not as an empty one.
  for (const char* ext : {".mpg", ".asf"}) EXPECT_EQ(Read(ext).back, (Value{true, REG_NONE, ""})) << ext;
  const std::string quiet = MachineString(kUninstallKey, "QuietUninstallString");
  EXPECT_EQ(quiet, "\"" + dir + "\\velkassoc.exe\" \"" + dir + "\\uninstall.exe\" /S");

  // Opening an associated file through the shell starts the installed player.
  const std::string clip = TempPath("velk-assoc-clip.avi");
  testmedia::VideoSpec video;
  video.frames = 10;
  ASSERT_TRUE(testmedia::WriteFile(clip, testmedia::MakeAvi(video)));
  HINSTANCE rc = ::ShellExecuteA(nullptr, "open", clip.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_GT(reinterpret_cast<INT_PTR>(rc), 32);
  PlayerWindow player = WaitForPlayerFrom(dir + "\\Velk.exe", 30000);
  ASSERT_NE(player.hwnd, nullptr);
  fw::CHandle process(::OpenProcess(SYNCHRONIZE, FALSE, player.pid));
  ::PostMessageA(player.hwnd, WM_CLOSE, 0, 0);
  if (process.Valid()) {
    EXPECT_EQ(::WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
  }
  ::DeleteFileA(clip.c_str());

  // Uninstalling, started each way a user starts it. The uninstaller runs on
  // from a copy of itself: its last step removes the uninstall entry.
  const struct {
    const char* how;
    bool throughEntry;
    bool silent;  // keeps the settings and the playlist
    bool keep;    // the answer when asked
  } ways[] = {
      {"the uninstall entry, silently", true, true, true},
      {"uninstall.exe, answering No", false, false, false},
      {"uninstall.exe, answering Yes", false, false, true},
      {"uninstall.exe, silently", false, true, true},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    if (!FileExists(dir + "\\uninstall.exe")) InstallInto(dir);
    ASSERT_TRUE(WriteText(dir + "\\velk.m3u", "C:\\film.avi\r\n"));
    for (const char* leftOver : {"velk.m3u.tmp", "velk.m3u.1.tmp"}) WriteText(dir + "\\" + leftOver, "C:\\f");

    CProcess uninstall;
    if (way.throughEntry) {
      const std::string command = MachineString(kUninstallKey, way.silent ? "QuietUninstallString" : "UninstallString");
      const size_t split = command.find("\" ");
      ASSERT_NE(split, std::string::npos);
      ASSERT_TRUE(uninstall.Start(command.substr(1, split - 1), command.substr(split + 2)));
    } else {
      ASSERT_TRUE(uninstall.Start(dir + "\\uninstall.exe", way.silent ? "/S" : ""));
    }
    if (!way.silent) {
      HWND question = WaitForDialogSaying("Keep your Velk settings", 30000);
      ASSERT_NE(question, nullptr);
      ::PostMessageA(question, WM_COMMAND, way.keep ? IDYES : IDNO, 0);
    }
    DWORD start = ::GetTickCount();
    while (!MachineString(kUninstallKey, "DisplayName").empty() && ::GetTickCount() - start < 30000) ::Sleep(100);

    for (const std::string& line : Differences(before, MachineTable())) ADD_FAILURE() << line;
    EXPECT_FALSE(FileExists(dir + "\\Velk.exe"));
    EXPECT_FALSE(FileExists(dir + "\\velk.m3u.tmp"));
    EXPECT_FALSE(FileExists(dir + "\\velk.m3u.1.tmp"));
    EXPECT_EQ(FileExists(dir + "\\velk.m3u"), way.keep);
    EXPECT_EQ(FileExists(dir), way.keep);  // the folder goes unless it holds the kept playlist
    if (way.keep) EXPECT_EQ(ReadUserString("Software\\Velk", "AppPath"), dir);
    else EXPECT_TRUE(SettingsTable().empty());
  }
  ::DeleteFileA((dir + "\\velk.m3u").c_str());
  ::RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace velk::e2e
