// The installer and the uninstaller against the real registry: the take-over
// of the five file types with the saved owners, an associated file opening in
// the installed player, and the way back, from the uninstall entry and from
// uninstall.exe itself: the registry as it was before, but for the settings
// the user chose to keep.
#include <gtest/gtest.h>

#include <map>

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
RegistryRows MachineRows() {
  RegistryRows rows;
  for (const char* key : {".mp3", ".avi", ".asf", ".mpg", ".m3u", "Velk.File"}) ReadTree(HKEY_CLASSES_ROOT, key, &rows);
  ReadTree(HKEY_LOCAL_MACHINE, kUninstallKey, &rows);
  return rows;
}

// The uninstaller's question: a dialog box owned by its window.
HWND WaitForQuestion(DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  do {
    for (HWND h = ::FindWindowA("#32770", "Velk Uninstall"); h; h = ::FindWindowExA(nullptr, h, "#32770", "Velk Uninstall"))
      if (::GetWindow(h, GW_OWNER) && ::IsWindowVisible(h)) return h;
    ::Sleep(100);
  } while (::GetTickCount() - start < timeoutMs);
  return nullptr;
}

class Install : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* ext : kExtensions) saved_[ext] = Read(ext);
    appPath_ = ReadUserString("Software\\Velk", "AppPath", &hadAppPath_);
    // A machine that never had the player.
    fw::DeleteKeyTree(HKEY_CLASSES_ROOT, "Velk.File");
    fw::DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
  }
  void TearDown() override {
    for (const auto& [ext, state] : saved_) Write(ext.c_str(), state);
    fw::CRegKey k;
    if (hadAppPath_ && k.Create(HKEY_CURRENT_USER, "Software\\Velk", KEY_WRITE) == ERROR_SUCCESS) {
      ::RegSetValueExA(k.Get(), "AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(appPath_.c_str()),
                       static_cast<DWORD>(appPath_.size() + 1));
    }
  }
  void InstallInto(const std::string& dir) {
    ::CreateDirectoryA(dir.c_str(), nullptr);
    CProcess setup;
    ASSERT_TRUE(setup.Start(WindowsPathOf(VELK_SETUP_UNIX), "/S /D=" + dir));
    DWORD code = 1;
    ASSERT_TRUE(setup.WaitExit(60000, &code));
    ASSERT_EQ(code, 0u);
  }
  std::map<std::string, KeyState> saved_;
  std::string appPath_;
  bool hadAppPath_ = false;
};

TEST_F(Install, TakesTheTypesOverOpensFilesAndGivesThemBack) {
  // Owners before the installation: an expandable value, an empty text, a
  // type with no key, and one with a key but no default.
  Write(".avi", KeyState{true, Sz("avifile"), Value{}});
  Write(".mp3", KeyState{true, Sz("%SystemRoot%\\mp3player.exe", REG_EXPAND_SZ), Value{}});
  Write(".m3u", KeyState{true, Sz(""), Value{}});
  Write(".mpg", KeyState{});
  Write(".asf", KeyState{});
  fw::CRegKey asf;
  ASSERT_EQ(asf.Create(HKEY_CLASSES_ROOT, ".asf", KEY_WRITE), ERROR_SUCCESS);
  ::RegSetValueExA(asf.Get(), "Content Type", 0, REG_SZ, reinterpret_cast<const BYTE*>("video/x-ms-asf"), 15);
  asf.Close();
  const RegistryRows before = MachineRows();
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
  if (process.Valid()) EXPECT_EQ(::WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
  ::DeleteFileA(clip.c_str());

  // Uninstalling, started each way a user starts it. The uninstaller runs on
  // from a copy of itself: its last step removes the uninstall entry.
  const struct {
    const char* how;
    const char* program;  // the silent entry: velkassoc, then the uninstaller
    const char* tail;
    int answer;           // to the question whether to keep the settings; silent: kept
  } ways[] = {
      {"the uninstall entry, silently", "velkassoc.exe", "", IDYES},
      {"uninstall.exe, answering No", "uninstall.exe", "", IDNO},
      {"uninstall.exe, answering Yes", "uninstall.exe", "", IDYES},
      {"uninstall.exe, silently", "uninstall.exe", "/S", IDYES},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    if (!FileExists(dir + "\\uninstall.exe")) InstallInto(dir);
    for (const char* list : {"velk.m3u", "velk.m3u.tmp", "velk.m3u.1.tmp"})
      ASSERT_TRUE(testmedia::WriteFile(dir + "\\" + list, std::string("C:\\film.avi\r\n")));

    const bool entry = way.program[0] == 'v', asked = !entry && !*way.tail, keep = way.answer == IDYES;
    CProcess uninstall;
    ASSERT_TRUE(uninstall.Start(dir + "\\" + way.program, entry ? quiet.substr(quiet.find("\" ") + 2) : way.tail));
    if (asked) {
      HWND question = WaitForQuestion(30000);
      ASSERT_NE(question, nullptr);
      ::PostMessageA(question, WM_COMMAND, way.answer, 0);
    }
    DWORD start = ::GetTickCount();
    while (!MachineString(kUninstallKey, "DisplayName").empty() && ::GetTickCount() - start < 30000) ::Sleep(100);

    EXPECT_EQ(MachineRows(), before);
    for (const char* gone : {"Velk.exe", "velk.m3u.tmp", "velk.m3u.1.tmp"}) EXPECT_FALSE(FileExists(dir + "\\" + gone));
    EXPECT_EQ(FileExists(dir + "\\velk.m3u"), keep);
    EXPECT_EQ(FileExists(dir), keep);  // the folder goes unless it holds the kept playlist
    EXPECT_EQ(ReadUserString("Software\\Velk", "AppPath"), keep ? dir : "");
  }
  ::DeleteFileA((dir + "\\velk.m3u").c_str());
  ::RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace velk::e2e
