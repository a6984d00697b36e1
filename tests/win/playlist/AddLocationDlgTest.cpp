// The add-location dialog driven as a user would: the recent list it offers,
// the typed location it returns and the list it stores.
#include <gtest/gtest.h>

#include <functional>

#include "player/playlist/AddLocationDlg.h"
#include "player/res/ResourceIds.h"

namespace velk {
namespace {

std::string WindowsPath(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return "Z:" + p;
}

// What the "user" does once the dialog is up, run from a thread timer inside
// the dialog's own message loop.
std::function<void(HWND dialog)> g_user;
std::vector<std::string> g_offered;

void CALLBACK ActAsUser(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = ::FindWindowA("#32770", "Add location");
  if (!dialog) return;
  ::KillTimer(nullptr, id);
  HWND combo = ::GetDlgItem(dialog, IDC_LOCATION);
  g_offered.clear();
  const LRESULT n = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    char buf[512] = {};
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    g_offered.push_back(buf);
  }
  g_user(dialog);
}

INT_PTR RunDialog(CAddLocationDlg& dlg, std::function<void(HWND)> user) {
  g_user = std::move(user);
  ::SetTimer(nullptr, 0, 50, &ActAsUser);
  return dlg.DoModal();
}

void Type(HWND dialog, const char* text) { ::SetDlgItemTextA(dialog, IDC_LOCATION, text); }
void Press(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, id, 0); }

class AddLocation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = ::LoadLibraryExA(WindowsPath(VELK_EXE_UNIX).c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    fw::SetResourceInstance(module_);
  }
  static void TearDownTestSuite() {
    fw::SetResourceInstance(nullptr);
    if (module_) ::FreeLibrary(module_);
  }
  void Store(std::initializer_list<const char*> urls) {
    int k = 0;
    for (const char* u : urls) settings_.WriteString("RecentUrlList", "URL" + std::to_string(k++), u);
  }
  std::string Url(int k) { return settings_.GetString("RecentUrlList", "URL" + std::to_string(k), "<none>"); }
  static HMODULE module_;
  CMemorySettings settings_;
};
HMODULE AddLocation::module_ = nullptr;

TEST_F(AddLocation, OffersTheRecentOnesAndPutsTheTypedOneFirst) {
  ASSERT_NE(module_, nullptr);
  Store({"x", "y", "z"});
  settings_.WriteString("RecentUrlList", "URL4", "after a gap");
  CAddLocationDlg dlg(nullptr, &settings_);
  EXPECT_EQ(RunDialog(dlg, [](HWND d) { Type(d, "Y"), Press(d, IDOK); }), IDOK);
  EXPECT_EQ(g_offered, (std::vector<std::string>{"x", "y", "z"}));  // stops at the gap
  EXPECT_EQ(dlg.Location(), "Y");
  EXPECT_EQ(Url(0), "Y");  // the typed spelling wins over the stored "y"
  EXPECT_EQ(Url(1), "x");
  EXPECT_EQ(Url(2), "z");
  EXPECT_EQ(Url(4), "after a gap");  // values past the list are left alone
}

TEST_F(AddLocation, CancelAndEmptyTextWriteNothing) {
  ASSERT_NE(module_, nullptr);
  Store({"a", "b"});
  CAddLocationDlg cancel(nullptr, &settings_);
  EXPECT_EQ(RunDialog(cancel, [](HWND d) { Type(d, "new"), Press(d, IDCANCEL); }), IDCANCEL);
  CAddLocationDlg empty(nullptr, &settings_);
  EXPECT_EQ(RunDialog(empty, [](HWND d) { Press(d, IDOK); }), IDOK);
  EXPECT_EQ(empty.Location(), "");
  EXPECT_EQ(Url(0), "a");
  EXPECT_EQ(Url(1), "b");
  EXPECT_EQ(Url(2), "<none>");
}

}  // namespace
}  // namespace velk
