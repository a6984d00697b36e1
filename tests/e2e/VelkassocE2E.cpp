// velkassoc against the real registry of the Wine prefix: which file types go
// back, what stays, and how the uninstaller is started.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "tests/e2e/Driver.h"
#include "tests/e2e/FileTypes.h"

namespace velk::e2e {
namespace {

std::string TempFile(const char* name) {
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class Velkassoc : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* ext : kExtensions) saved_[ext] = Read(ext);
  }
  void TearDown() override {
    for (const auto& [ext, state] : saved_) Write(ext.c_str(), state);
  }
  // Runs velkassoc with the command tail; returns its exit code.
  DWORD Run(const std::string& tail, HWND* messageBox = nullptr) {
    CProcess p;
    EXPECT_TRUE(p.Start(BinDir() + "\\velkassoc.exe", tail));
    if (messageBox) {
      *messageBox = WaitForWindow(p.Id(), "Velk Uninstaller", 20000);
      if (*messageBox) {
        onMessageBox_();
        ::PostMessageA(*messageBox, WM_COMMAND, IDOK, 0);
      }
    }
    DWORD code = 99;
    EXPECT_TRUE(p.WaitExit(20000, &code));
    return code;
  }
  std::map<std::string, KeyState> saved_;
  std::function<void()> onMessageBox_ = [] {};
};

TEST_F(Velkassoc, HandsBackOnlyThePlayersTypesThenStartsTheUninstaller) {
  const std::string longBack = std::string(200, 'L') + ".Media.Class";
  Write(".mp3", Owned(Sz("Velk.File"), Sz("mp3file")));
  Write(".avi", Owned(Sz("velk.file"), Sz("avifile")));       // not the player's spelling
  Write(".asf", Owned(Sz("Velk.File"), Value{}));             // no saved owner
  Write(".mpg", KeyState{});                                  // no key at all
  Write(".m3u", Owned(Sz("Velk.File"), Sz(longBack, REG_EXPAND_SZ)));
  const KeyState aviBefore = Read(".avi");

  const std::string out = TempFile("velk-uninstaller-args.txt");
  ::DeleteFileA(out.c_str());
  const std::string recorder = BinDir() + "\\..\\win\\testbin\\arg_recorder.exe";
  const std::string tail = "\"" + recorder + "\" " + out + " /S _?=C:\\Program Files\\Velk";
  EXPECT_EQ(Run(tail), 0u);

  // The records go with the player; another owner keeps its type.
  EXPECT_EQ(Read(".mp3"), Owned(Sz("mp3file"), Value{}));
  EXPECT_EQ(Read(".avi"), Owned(aviBefore.def, Value{}));
  EXPECT_FALSE(Read(".asf").exists);  // the player's class with no record: nothing was there before
  EXPECT_FALSE(Read(".mpg").exists);
  EXPECT_EQ(Read(".m3u"), Owned(Sz(longBack, REG_EXPAND_SZ), Value{}));

  // The uninstaller got its command line unchanged (it does not wait for it).
  std::string args;
  for (int i = 0; i < 200 && (args = Slurp(out)).empty(); ++i) ::Sleep(50);
  EXPECT_NE(args.find(out + " /S _?=C:\\Program Files\\Velk"), std::string::npos) << args;

  // A second run finds nothing of the player's left.
  std::map<std::string, KeyState> after;
  for (const char* ext : kExtensions) after[ext] = Read(ext);
  EXPECT_EQ(Run(tail), 0u);
  for (const char* ext : kExtensions) EXPECT_EQ(Read(ext), after[ext]) << ext;
}

TEST_F(Velkassoc, WithoutAnUninstallerRestoresFirstThenSaysSo) {
  for (const char* tail : {"", "C:\\nowhere\\uninstall.exe /S"}) {
    Write(".mp3", Owned(Sz("Velk.File"), Sz("mp3file")));
    bool restoredBeforeBox = false;
    std::string boxText;
    onMessageBox_ = [&] { restoredBeforeBox = Read(".mp3").def == Sz("mp3file"); };
    HWND box = nullptr;
    EXPECT_EQ(Run(tail, &box), 0u) << tail;
    EXPECT_NE(box, nullptr) << tail;
    EXPECT_TRUE(restoredBeforeBox) << tail;
  }
}

TEST_F(Velkassoc, MessageBoxSaysItCannotFindTheUninstaller) {
  CProcess p;
  ASSERT_TRUE(p.Start(BinDir() + "\\velkassoc.exe", ""));
  HWND box = WaitForWindow(p.Id(), "Velk Uninstaller", 20000);
  ASSERT_NE(box, nullptr);
  std::string text;
  ::EnumChildWindows(
      box,
      [](HWND child, LPARAM lp) -> BOOL {
        char buf[256] = {};
        ::GetWindowTextA(child, buf, sizeof(buf));
        if (std::string(buf).find("Uninstaller") != std::string::npos)
          *reinterpret_cast<std::string*>(lp) = buf;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  EXPECT_EQ(text.rfind("Cannot Find Uninstaller", 0), 0u) << text;
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  DWORD code = 99;
  EXPECT_TRUE(p.WaitExit(20000, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace velk::e2e
