// What the options tests share: the program's resources loaded from the built
// Velk.exe, a settings store on a registry key of the tests' own, a parent
// window that records the announcements and drives the modal dialog one step
// each time the dialog goes idle, and choosers that answer as told.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/framework/RegistrySettings.h"
#include "platform/framework/Wnd.h"
#include "player/options/OptionChoosers.h"
#include "player/options/OptionsDialog.h"

namespace velk::options::test {

class CScriptedChoosers : public IOptionChoosers {
 public:
  bool ChooseColour(HWND owner, COLORREF& colour) override;
  bool ChooseFile(HWND owner, const FileRequest& request, std::string& path) override;

  bool confirm = true;
  COLORREF colour = 0;
  std::string file;
  int colourCalls = 0;
  std::vector<FileRequest> fileRequests;
  std::vector<HWND> owners;
};

// The owner of the dialog. Each time the modal loop runs dry it runs the next
// step on the dialog; after the last step it presses "Close".
class CScriptParent : public fw::CWnd {
 public:
  using Step = std::function<void(COptionsDialog& dlg)>;
  CScriptParent();
  ~CScriptParent() override;

  // Runs the dialog modally through the steps; the result of DoModal.
  INT_PTR Run(COptionsDialog& dlg, std::vector<Step> steps);

  int announcements = 0;
  bool plainAnnouncements = true;  // every one with 0, 0
  bool watchdogFired = false;

  VELK_DECLARE_MESSAGE_TABLE()

 private:
  bool OnEnterIdle(fw::MsgArgs& m);
  bool OnOptionsChanged(fw::MsgArgs& m);
  bool OnTimer(fw::MsgArgs& m);
  std::vector<Step> steps_;
  size_t next_ = 0;
  COptionsDialog* dialog_ = nullptr;
};

class OptionsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  static HMODULE module_;
  fw::CRegistrySettings store_{HKEY_CURRENT_USER, "Software\\VelkTest\\Options"};
};

// Helpers on a live dialog.
HTREEITEM TreeItem(HWND tree, HTREEITEM from, UINT relation);
std::string TreeText(HWND tree, HTREEITEM item);
void SelectTreeText(COptionsDialog& dlg, const std::string& text);
void Click(HWND page, int id);
std::string ControlText(HWND page, int id);

}  // namespace velk::options::test
