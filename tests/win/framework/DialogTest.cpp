// Dialogs from the program's templates: modal runs, the data exchange in both
// directions, and the message table of a dialog class.
#include <gtest/gtest.h>

#include "platform/framework/Dialog.h"
#include "player/res/ResourceIds.h"

namespace velk::fw {
namespace {

std::string WindowsPath(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return "Z:" + p;
}

// A dialog on the add-location template that answers itself once it is up.
class CScriptedDialog : public CDialog {
 public:
  CScriptedDialog(UINT answer, std::string typed)
      : CDialog(IDD_ADD_LOCATION, nullptr), answer_(answer), typed_(std::move(typed)) {}

  bool DoDataExchange(bool saving) override {
    ++exchanges_;
    if (saving) {
      saved_ = GetDlgItemText(IDC_LOCATION);
    } else {
      SetDlgItemText(IDC_LOCATION, initial_);
    }
    return !refuseSave_ || !saving;
  }

  std::string initial_ = "start";
  std::string seenAtInit_;
  std::string saved_;
  int exchanges_ = 0;
  bool refuseSave_ = false;
  bool gotPrivate_ = false;

  VELK_DECLARE_MESSAGE_TABLE()

 protected:
  bool OnInitDialog() override {
    CDialog::OnInitDialog();
    seenAtInit_ = GetDlgItemText(IDC_LOCATION);
    SetDlgItemText(IDC_LOCATION, typed_);
    PostMessage(WM_APP + 1);
    PostMessage(WM_COMMAND, answer_);
    return true;
  }

 private:
  bool OnPrivate(MsgArgs&) {
    gotPrivate_ = true;
    if (refuseSave_) PostMessage(WM_COMMAND, IDCANCEL);  // the refused OK leaves it open
    return true;
  }
  UINT answer_;
  std::string typed_;
};

VELK_BEGIN_MESSAGE_TABLE(CScriptedDialog)
  VELK_ON_MESSAGE(WM_APP + 1, CScriptedDialog, OnPrivate),
VELK_END_MESSAGE_TABLE(CScriptedDialog, CDialog);

class Dialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = ::LoadLibraryExA(WindowsPath(VELK_EXE_UNIX).c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    SetResourceInstance(module_);
  }
  static void TearDownTestSuite() {
    SetResourceInstance(nullptr);
    if (module_) ::FreeLibrary(module_);
  }
  static HMODULE module_;
};
HMODULE Dialogs::module_ = nullptr;

TEST_F(Dialogs, OkReadsTheControlsCancelDoesNot) {
  ASSERT_NE(module_, nullptr);
  CScriptedDialog ok(IDOK, "http://example.org/radio");
  EXPECT_EQ(ok.DoModal(), IDOK);
  EXPECT_EQ(ok.seenAtInit_, "start");  // loaded before OnInitDialog's own work
  EXPECT_EQ(ok.saved_, "http://example.org/radio");
  EXPECT_TRUE(ok.gotPrivate_);
  EXPECT_EQ(ok.m_hWnd, nullptr);  // unbound once the dialog is gone

  CScriptedDialog cancel(IDCANCEL, "typed");
  EXPECT_EQ(cancel.DoModal(), IDCANCEL);
  EXPECT_EQ(cancel.saved_, "");
  EXPECT_EQ(cancel.exchanges_, 1);
}

TEST_F(Dialogs, ARefusedExchangeKeepsTheDialogOpen) {
  ASSERT_NE(module_, nullptr);
  CScriptedDialog d(IDOK, "x");
  d.refuseSave_ = true;
  EXPECT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_EQ(d.saved_, "x");  // the OK did read, then said no
}

TEST_F(Dialogs, MissingTemplateFails) {
  CDialog d(4242, nullptr);
  EXPECT_EQ(d.DoModal(), -1);
}

}  // namespace
}  // namespace velk::fw
