#include "player/options/OptionsDialog.h"

#include <commctrl.h>

#include <vector>

#include "player/options/PlaylistOptionsPage.h"
#include "player/options/SkinOptionsPage.h"
#include "player/res/ResourceIds.h"
#include "shared/PlayerMessages.h"

namespace velk::options {

VELK_BEGIN_MESSAGE_TABLE(COptionsDialog)
  // The tree speaks in the dialog's character set; both forms lead to one place.
  VELK_ON_NOTIFY(IDC_OPTIONS_TREE, TVN_SELCHANGEDA, COptionsDialog, OnTreeSelChanged),
  VELK_ON_NOTIFY(IDC_OPTIONS_TREE, TVN_SELCHANGEDW, COptionsDialog, OnTreeSelChanged),
  VELK_ON_COMMAND(IDC_OPTIONS_CLOSE, COptionsDialog, OnClose),
  VELK_ON_MESSAGE(WM_PLAYER_OPTIONSCHANGED, COptionsDialog, OnOptionsChanged),
  VELK_ON_MESSAGE(WM_DESTROY, COptionsDialog, OnDestroy),
VELK_END_MESSAGE_TABLE(COptionsDialog, fw::CDialog);

COptionsDialog::COptionsDialog(fw::CWnd* parent, IOptionChoosers* choosers)
    : CDialog(IDD_OPTIONS, parent), choosers_(choosers ? *choosers : SystemChoosers()) {
  // The tree control's class must exist before the template is read.
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
}

COptionsDialog::~COptionsDialog() { DestroyPage(); }

bool COptionsDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  FillTree();
  ShowPage(OptionPage::About);
  return true;
}

void COptionsDialog::FillTree() {
  HWND tree = GetDlgItem(IDC_OPTIONS_TREE);
  auto insert = [tree](HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA is = {};
    is.hParent = parent;
    is.hInsertAfter = TVI_LAST;
    is.item.mask = TVIF_TEXT;
    is.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
  };
  HTREEITEM root = insert(TVI_ROOT, kRootText);
  insert(root, kSkinText);
  insert(root, kPlaylistText);
  ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

bool COptionsDialog::OnTreeSelChanged(fw::MsgArgs& m) {
  const auto* nm = reinterpret_cast<const NMTREEVIEWA*>(m.lParam);
  m.result = 0;
  HTREEITEM item = nm->itemNew.hItem;
  if (!item) return true;
  std::vector<char> text(260, '\0');
  TVITEMA tvi = {};
  tvi.mask = TVIF_TEXT;
  tvi.hItem = item;
  tvi.pszText = text.data();
  tvi.cchTextMax = static_cast<int>(text.size());
  if (!::SendMessageA(GetDlgItem(IDC_OPTIONS_TREE), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi)))
    return true;
  const OptionPage kind = PageForTreeText(text.data());
  if (kind != OptionPage::None) ShowPage(kind);
  return true;
}

void COptionsDialog::DestroyPage() {
  if (page_) page_->DestroyWindow();
  page_.reset();
  pageKind_ = OptionPage::None;
}

void COptionsDialog::ShowPage(OptionPage kind) {
  DestroyPage();
  std::unique_ptr<fw::CDialog> page;
  switch (kind) {
    case OptionPage::Skin: page = std::make_unique<CSkinOptionsPage>(choosers_); break;
    case OptionPage::Playlist: page = std::make_unique<CPlaylistOptionsPage>(choosers_); break;
    case OptionPage::About: page = std::make_unique<fw::CDialog>(IDD_ABOUT_PAGE, this); break;
    case OptionPage::None: return;
  }
  if (!page->CreateModeless(this)) return;
  const RECT d = GetClientRect();
  const PageBox box = PagePlacement(d.left, d.top, d.right, d.bottom);
  ::SetWindowPos(page->m_hWnd, HWND_TOP, box.x, box.y, box.width, box.height, SWP_SHOWWINDOW);
  page_ = std::move(page);
  pageKind_ = kind;
}

bool COptionsDialog::OnClose(fw::MsgArgs& m) {
  if (HIWORD(m.wParam) != BN_CLICKED) return false;
  // Every change was written as it was made; closing writes nothing.
  EndDialog(IDOK);
  return true;
}

bool COptionsDialog::OnOptionsChanged(fw::MsgArgs&) {
  if (Parent() && Parent()->IsWindow()) Parent()->PostMessage(WM_PLAYER_OPTIONSCHANGED, 0, 0);
  return true;
}

bool COptionsDialog::OnDestroy(fw::MsgArgs&) {
  DestroyPage();
  return false;
}

}  // namespace velk::options
