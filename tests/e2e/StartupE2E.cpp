// The player starts, shows its main window, records its folder and exits
// cleanly when the window is closed.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velk::e2e
