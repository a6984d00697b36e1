// The installer and the uninstaller, silently, against the real registry:
// the take-over of the five file types with the saved owners, an associated
// file opening in the installed player, and the way back.
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

class Install : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* ext : kExtensions) saved_[ext] = Read(ext);
    appPath_ = ReadUserString("Software\\Velk", "AppPath", &hadAppPath_);
  }
  void TearDown() override {
    for (const auto& [ext, state] : saved_) Write(ext.c_str(), state);
    fw::CRegKey k;
    if (hadAppPath_ && k.Create(HKEY_CURRENT_USER, "Software\\Velk", KEY_WRITE) == ERROR_SUCCESS) {
      ::RegSetValueExA(k.Get(), "AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(appPath_.c_str()),
                       static_cast<DWORD>(appPath_.size() + 1));
    }
  }
  std::map<std::string, KeyState> saved_;
  std::string appPath_;
  bool hadAppPath_ = false;
};

TEST_F(Install, TakesTheTypesOverOpensFilesAndGivesThemBack) {
  // Owners before the installation, one with an expandable value and one type with no key.
  Write(".avi", KeyState{true, Sz("avifile"), Value{}});
  Write(".mp3", KeyState{true, Sz("%SystemRoot%\\mp3player.exe", REG_EXPAND_SZ), Value{}});
  Write(".mpg", KeyState{});
  const std::string dir = TempPath("VelkInstallTest");
  ::CreateDirectoryA(dir.c_str(), nullptr);

  CProcess setup;
  ASSERT_TRUE(setup.Start(WindowsPathOf(VELK_SETUP_UNIX), "/S /D=" + dir));
  DWORD code = 1;
  ASSERT_TRUE(setup.WaitExit(60000, &code));
  ASSERT_EQ(code, 0u);

  for (const char* file : {"Velk.exe", "velkassoc.exe", "uninstall.exe"})
    EXPECT_TRUE(FileExists(dir + "\\" + file)) << file;
  EXPECT_EQ(ReadUserString("Software\\Velk", "AppPath"), dir);
  for (const char* ext : kExtensions) EXPECT_EQ(Read(ext).def, Sz("Velk.File")) << ext;
  EXPECT_EQ(Read(".avi").back, Sz("avifile"));
  EXPECT_EQ(Read(".mp3").back, Sz("%SystemRoot%\\mp3player.exe", REG_EXPAND_SZ));
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

  // Uninstalling through the registered command: velkassoc first, then the uninstaller.
  CProcess uninstall;
  const size_t split = quiet.find("\" ");
  ASSERT_NE(split, std::string::npos);
  ASSERT_TRUE(uninstall.Start(dir + "\\velkassoc.exe", quiet.substr(split + 2)));
  ASSERT_TRUE(uninstall.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(Read(".avi").def, Sz("avifile"));
  EXPECT_EQ(Read(".mp3").def, Sz("%SystemRoot%\\mp3player.exe", REG_EXPAND_SZ));
  // The uninstaller runs on from a copy of itself; wait for it to finish its work.
  DWORD start = ::GetTickCount();
  while (FileExists(dir + "\\Velk.exe") && ::GetTickCount() - start < 30000) ::Sleep(100);
  EXPECT_FALSE(FileExists(dir + "\\Velk.exe"));
  while (!MachineString(kUninstallKey, "DisplayName").empty() && ::GetTickCount() - start < 30000)
    ::Sleep(100);
  EXPECT_EQ(MachineString(kUninstallKey, "DisplayName"), "");
  ::DeleteFileA(clip.c_str());
}

}  // namespace
}  // namespace velk::e2e
