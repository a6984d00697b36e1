#include "tests/win/options/OptionsTestSupport.h"

#include <commctrl.h>

#include "player/res/ResourceIds.h"
#include "shared/PlayerMessages.h"

namespace velk::options::test {

bool CScriptedChoosers::ChooseColour(HWND owner, COLORREF& chosen) {
  ++colourCalls;
  owners.push_back(owner);
  if (confirm) chosen = colour;
  return confirm;
}

bool CScriptedChoosers::ChooseFile(HWND owner, const FileRequest& request, std::string& path) {
  fileRequests.push_back(request);
  owners.push_back(owner);
  if (confirm) path = file;
  return confirm;
}

VELK_BEGIN_MESSAGE_TABLE(CScriptParent)
  VELK_ON_MESSAGE(WM_ENTERIDLE, CScriptParent, OnEnterIdle),
  VELK_ON_MESSAGE(WM_PLAYER_OPTIONSCHANGED, CScriptParent, OnOptionsChanged),
  VELK_ON_MESSAGE(WM_TIMER, CScriptParent, OnTimer),
VELK_END_MESSAGE_TABLE(CScriptParent, fw::CWnd);

namespace {
constexpr UINT_PTR kWatchdog = 1;
}

CScriptParent::CScriptParent() {
  RegisterClass("VelkOptionsTestParent", 0, nullptr, nullptr);
  CreateEx(0, "VelkOptionsTestParent", "options test parent", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
           nullptr, nullptr);
}

CScriptParent::~CScriptParent() { DestroyWindow(); }

INT_PTR CScriptParent::Run(COptionsDialog& dlg, std::vector<Step> steps) {
  steps_ = std::move(steps);
  next_ = 0;
  dialog_ = &dlg;
  // A guard against a script that stalls: the dialog is cancelled, the test fails.
  ::SetTimer(m_hWnd, kWatchdog, 30000, nullptr);
  const INT_PTR result = dlg.DoModal();
  ::KillTimer(m_hWnd, kWatchdog);
  // Announcements posted just before the dialog closed.
  MSG msg;
  while (::PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  dialog_ = nullptr;
  EXPECT_EQ(next_, steps_.size()) << "the dialog closed before the script ended";
  EXPECT_FALSE(watchdogFired);
  return result;
}

bool CScriptParent::OnEnterIdle(fw::MsgArgs& m) {
  if (m.wParam != MSGF_DIALOGBOX || !dialog_ || reinterpret_cast<HWND>(m.lParam) != dialog_->m_hWnd)
    return false;
  if (next_ < steps_.size()) {
    steps_[next_++](*dialog_);
  } else {
    ::PostMessageA(dialog_->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_CLOSE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(dialog_->GetDlgItem(IDC_OPTIONS_CLOSE)));
  }
  // Wakes the loop whether or not the step posted anything itself.
  ::PostMessageA(dialog_->m_hWnd, WM_NULL, 0, 0);
  return true;
}

bool CScriptParent::OnOptionsChanged(fw::MsgArgs& m) {
  ++announcements;
  if (m.wParam != 0 || m.lParam != 0) plainAnnouncements = false;
  return true;
}

bool CScriptParent::OnTimer(fw::MsgArgs& m) {
  if (m.wParam != kWatchdog) return false;
  watchdogFired = true;
  if (dialog_ && dialog_->m_hWnd) ::PostMessageA(dialog_->m_hWnd, WM_COMMAND, IDCANCEL, 0);
  return true;
}

HMODULE OptionsTest::module_ = nullptr;

namespace {
std::string WindowsPath(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return "Z:" + p;
}
}  // namespace

void OptionsTest::SetUpTestSuite() {
  module_ = ::LoadLibraryExA(WindowsPath(VELK_EXE_UNIX).c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  fw::SetResourceInstance(module_);
}

void OptionsTest::TearDownTestSuite() {
  fw::SetResourceInstance(nullptr);
  if (module_) ::FreeLibrary(module_);
}

void OptionsTest::SetUp() {
  ASSERT_NE(module_, nullptr);
  store_.DeleteAll();
  SelectSettingsStore(&store_);
}

void OptionsTest::TearDown() {
  SelectSettingsStore(nullptr);
  store_.DeleteAll();
}

HTREEITEM TreeItem(HWND tree, HTREEITEM from, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      ::SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}

std::string TreeText(HWND tree, HTREEITEM item) {
  char buf[64] = {};
  TVITEMA tvi = {};
  tvi.mask = TVIF_TEXT;
  tvi.hItem = item;
  tvi.pszText = buf;
  tvi.cchTextMax = sizeof(buf);
  ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
  return buf;
}

void SelectTreeText(COptionsDialog& dlg, const std::string& text) {
  HWND tree = dlg.GetDlgItem(IDC_OPTIONS_TREE);
  HTREEITEM root = TreeItem(tree, nullptr, TVGN_ROOT);
  HTREEITEM found = TreeText(tree, root) == text ? root : nullptr;
  for (HTREEITEM c = TreeItem(tree, root, TVGN_CHILD); c && !found; c = TreeItem(tree, c, TVGN_NEXT))
    if (TreeText(tree, c) == text) found = c;
  ASSERT_NE(found, nullptr) << text;
  ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
}

void Click(HWND page, int id) {
  HWND button = ::GetDlgItem(page, id);
  ASSERT_NE(button, nullptr) << id;
  ::SendMessageA(button, BM_CLICK, 0, 0);
}

std::string ControlText(HWND page, int id) {
  char buf[1024] = {};
  ::GetDlgItemTextA(page, id, buf, sizeof(buf));
  return buf;
}

}  // namespace velk::options::test
