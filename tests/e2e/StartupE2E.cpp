// The player starts, shows its main window, records its folder and exits
// cleanly when the window is closed.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/framework/Handles.h"
#include "tests/e2e/Driver.h"

namespace velk::e2e {
namespace {

const char kProgramKey[] = "Software\\Velk";
// The main window, found by its class: its title follows the playlist's current entry.
const char kMainWindow[] = "class:VelkSkinWnd";

TEST(Startup, ShowsWindowRecordsFolderAndExitsOnClose) {
  DeleteUserTree(kProgramKey);
  CProcess velk;
  // Started from elsewhere, as an association would: the folder is still the program's own.
  ASSERT_TRUE(velk.Start(BinDir() + "\\Velk.exe", "", "C:\\"));
  HWND main = WaitForWindow(velk.Id(), kMainWindow, 20000);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ReadUserString(kProgramKey, "AppPath"), BinDir());

  ::PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD code = 1;
  ASSERT_TRUE(velk.WaitExit(20000, &code));
  EXPECT_EQ(code, 0u);
}

TEST(Startup, ReplacesARecordedFolderThatNoLongerHoldsTheProgram) {
  DeleteUserTree(kProgramKey);
  {
    fw::CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kProgramKey, KEY_WRITE), ERROR_SUCCESS);
    const char stale[] = "C:\\nowhere\\velk";
    ::RegSetValueExA(key.Get(), "AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(stale), sizeof(stale));
  }

  CProcess velk;
  ASSERT_TRUE(velk.Start(BinDir() + "\\Velk.exe", ""));
  HWND main = WaitForWindow(velk.Id(), kMainWindow, 20000);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ReadUserString(kProgramKey, "AppPath"), BinDir());
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(velk.WaitExit(20000));
}

// A copy of the player in a folder of its own, beside an installed one whose
// folder is recorded: the copy reads and writes the playlist beside itself and
// leaves the installed one's alone; the recorded folder stays the installed one.
TEST(Startup, ACopyBesideAnInstalledPlayerKeepsToItsOwnPlayList) {
  DeleteUserTree(kProgramKey);
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string installed = std::string(temp) + "velk-installed", copy = std::string(temp) + "velk-copy";
  auto place = [](const std::string& folder, const std::string& entry) {
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA((BinDir() + "\\Velk.exe").c_str(), (folder + "\\Velk.exe").c_str(), FALSE));
    std::ofstream(folder + "\\velk.m3u", std::ios::binary) << entry << "\r\n";
  };
  place(installed, "installed.mp3");
  place(copy, "copy.mp3");
  {
    fw::CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kProgramKey, KEY_WRITE), ERROR_SUCCESS);
    ::RegSetValueExA(key.Get(), "AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(installed.c_str()),
                     static_cast<DWORD>(installed.size() + 1));
    fw::CRegKey list;
    ASSERT_EQ(list.Create(HKEY_CURRENT_USER, "Software\\Velk\\playlist", KEY_WRITE), ERROR_SUCCESS);
    const DWORD first = 0;
    ::RegSetValueExA(list.Get(), "curtrack", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&first), sizeof(first));
  }

  CProcess velk;
  ASSERT_TRUE(velk.Start(copy + "\\Velk.exe", ""));
  HWND main = WaitForWindow(velk.Id(), kMainWindow, 20000);
  ASSERT_NE(main, nullptr);
  char title[256] = {};
  ::GetWindowTextA(main, title, sizeof(title));
  EXPECT_STREQ(title, "copy.mp3");
  EXPECT_EQ(ReadUserString(kProgramKey, "AppPath"), installed);
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(velk.WaitExit(20000));
  std::ifstream in(installed + "\\velk.m3u", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "installed.mp3\r\n");
  for (const std::string& folder : {installed, copy}) {
    ::DeleteFileA((folder + "\\Velk.exe").c_str());
    ::DeleteFileA((folder + "\\velk.m3u").c_str());
    ::RemoveDirectoryA(folder.c_str());
  }
}

}  // namespace
}  // namespace velk::e2e
