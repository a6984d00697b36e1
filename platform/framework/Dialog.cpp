#include "platform/framework/Dialog.h"

#include <vector>

namespace velk::fw {

VELK_BEGIN_MESSAGE_TABLE(CDialog)
  VELK_ON_COMMAND(IDOK, CDialog, OnOkCommand),
  VELK_ON_COMMAND(IDCANCEL, CDialog, OnCancelCommand),
VELK_END_MESSAGE_TABLE(CDialog, CWnd);

INT_PTR CDialog::DoModal() {
  modal_ = true;
  HWND parent = parent_ ? parent_->m_hWnd : nullptr;
  return ::DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(templateId_), parent,
                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::CreateModeless(CWnd* parent) {
  modal_ = false;
  if (parent) parent_ = parent;
  HWND hwnd = ::CreateDialogParamA(ResourceInstance(), MAKEINTRESOURCEA(templateId_),
                                   parent_ ? parent_->m_hWnd : nullptr, &CDialog::DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  return hwnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
  if (!m_hWnd) return;
  if (modal_) {
    ::EndDialog(m_hWnd, result);
  } else {
    ::DestroyWindow(m_hWnd);
  }
}

bool CDialog::DoDataExchange(bool) { return true; }

std::string CDialog::GetDlgItemText(int id) const {
  HWND item = GetDlgItem(id);
  int n = item ? ::GetWindowTextLengthA(item) : 0;
  std::vector<char> buf(static_cast<size_t>(n > 0 ? n : 0) + 1, '\0');
  if (item) ::GetWindowTextA(item, buf.data(), static_cast<int>(buf.size()));
  return std::string(buf.data());
}

void CDialog::SetDlgItemText(int id, const std::string& text) const {
  ::SetDlgItemTextA(m_hWnd, id, text.c_str());
}

bool CDialog::OnInitDialog() {
  DoDataExchange(false);
  return true;
}

void CDialog::OnOK() {
  if (DoDataExchange(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnOkCommand(MsgArgs&) {
  OnOK();
  return true;
}

bool CDialog::OnCancelCommand(MsgArgs&) {
  OnCancel();
  return true;
}

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) { return 0; }

namespace {
// Messages whose answer is the dialog procedure's own return value.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}
}  // namespace

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* dlg = nullptr;
  if (message == WM_INITDIALOG) {
    dlg = reinterpret_cast<CDialog*>(lParam);
    if (dlg) dlg->BindHandle(hwnd);
  } else {
    dlg = static_cast<CDialog*>(FromHandle(hwnd));
  }
  if (!dlg) return FALSE;

  INT_PTR answer = FALSE;
  try {
    if (message == WM_INITDIALOG) {
      // The table may hold its own WM_INITDIALOG handler; otherwise OnInitDialog.
      MsgArgs args{message, wParam, lParam};
      const WndMsgEntry* entry = FindEntry(dlg->GetMessageTable(), KeyOf(message, wParam, lParam));
      if (entry && entry->handler(*dlg, args)) {
        answer = args.result;
      } else {
        answer = dlg->OnInitDialog() ? TRUE : FALSE;
      }
    } else {
      MsgArgs args{message, wParam, lParam};
      const WndMsgEntry* entry = FindEntry(dlg->GetMessageTable(), KeyOf(message, wParam, lParam));
      if (entry && entry->handler(*dlg, args)) {
        if (AnswersDirectly(message)) {
          answer = args.result;
        } else {
          ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, args.result);
          answer = TRUE;
        }
      }
    }
  } catch (...) {
    answer = FALSE;
  }
  if (message == WM_NCDESTROY) {
    dlg->UnbindHandle();
    try {
      dlg->PostNcDestroy();
    } catch (...) {
    }
  }
  return answer;
}

}  // namespace velk::fw
