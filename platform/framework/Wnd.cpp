#include "platform/framework/Wnd.h"

#include "platform/framework/WinApp.h"

namespace velk::fw {

const WndMsgTable CWnd::kMessageTable = {nullptr, nullptr, 0};

namespace {
const char kObjectProp[] = "VelkWndObject";
}  // namespace

CWnd::~CWnd() {
  if (m_hWnd && ::IsWindow(m_hWnd)) {
    // The object goes first: detach so the window's last messages do not reach it.
    ::RemovePropA(m_hWnd, kObjectProp);
    if (controlProc_) {
      ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
    }
    ::DestroyWindow(m_hWnd);
  }
  m_hWnd = nullptr;
}

MsgKey KeyOf(UINT message, WPARAM wParam, LPARAM lParam) {
  MsgKey key{message, false, false, 0, 0};
  if (message == WM_COMMAND) {
    key.isCommand = true;
    key.id = LOWORD(wParam);
    key.code = HIWORD(wParam);
  } else if (message == WM_NOTIFY && lParam) {
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    key.isNotify = true;
    key.id = static_cast<uint32_t>(hdr->idFrom);
    key.code = hdr->code;
  }
  return key;
}

bool CWnd::RegisterClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background,
                         HICON icon) {
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (::GetClassInfoExA(inst, className, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = &CWnd::StaticWndProc;
  wc.hInstance = inst;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = className;
  return ::RegisterClassExA(&wc) != 0;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
  HWND hwnd = ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent,
                                menuOrId, ::GetModuleHandleA(nullptr), this);
  return hwnd != nullptr;
}

bool CWnd::DestroyWindow() {
  if (!m_hWnd) return false;
  return ::DestroyWindow(m_hWnd) != FALSE;
}

bool CWnd::SubclassControl(HWND hwnd) {
  if (!hwnd || m_hWnd || FromHandle(hwnd)) return false;
  BindHandle(hwnd);
  controlProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
  if (!controlProc_) {
    UnbindHandle();
    return false;
  }
  return true;
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND child = nullptr;
  if (message == WM_NOTIFY && lParam) {
    child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
  } else if (message == WM_DRAWITEM && lParam) {
    child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
  }
  if (!child || child == m_hWnd || ::GetParent(child) != m_hWnd) return false;
  CWnd* wnd = FromHandle(child);
  return wnd && wnd->OnChildNotify(message, wParam, lParam, result);
}

void CWnd::BindHandle(HWND hwnd) {
  m_hWnd = hwnd;
  ::SetPropA(hwnd, kObjectProp, this);
}

void CWnd::UnbindHandle() {
  if (m_hWnd) ::RemovePropA(m_hWnd, kObjectProp);
  m_hWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<CWnd*>(::GetPropA(hwnd, kObjectProp)) : nullptr;
}

std::string CWnd::GetWindowText() const {
  int n = ::GetWindowTextLengthA(m_hWnd);
  std::string text(static_cast<size_t>(n > 0 ? n : 0) + 1, '\0');
  int got = ::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

RECT CWnd::GetClientRect() const {
  RECT rc{};
  ::GetClientRect(m_hWnd, &rc);
  return rc;
}

RECT CWnd::GetWindowRect() const {
  RECT rc{};
  ::GetWindowRect(m_hWnd, &rc);
  return rc;
}

void CWnd::Invalidate(bool erase) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(const RECT& rc, bool erase) const { ::InvalidateRect(m_hWnd, &rc, erase); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessageA(m_hWnd, message, wParam, lParam) != FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT reflected = 0;
  if (ReflectToChild(message, wParam, lParam, &reflected)) return reflected;
  MsgArgs args{message, wParam, lParam};
  const MsgArgs* outer = current_;
  current_ = &args;
  LRESULT result;
  const WndMsgEntry* entry = FindEntry(GetMessageTable(), KeyOf(message, wParam, lParam));
  if (entry && entry->handler(*this, args)) {
    result = args.result;
  } else {
    result = DefWindowProc(message, wParam, lParam);
  }
  current_ = outer;
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (controlProc_) return ::CallWindowProcA(controlProc_, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  if (!current_) return 0;
  return DefWindowProc(current_->message, current_->wParam, current_->lParam);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = nullptr;
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    wnd = static_cast<CWnd*>(cs->lpCreateParams);
    if (wnd) {
      wnd->m_hWnd = hwnd;
      ::SetPropA(hwnd, kObjectProp, wnd);
    }
  } else {
    wnd = FromHandle(hwnd);
  }
  if (!wnd) return ::DefWindowProcA(hwnd, message, wParam, lParam);

  // Nothing may escape into the window system.
  LRESULT result = 0;
  try {
    result = wnd->WindowProc(message, wParam, lParam);
  } catch (...) {
    result = wnd->controlProc_ ? ::CallWindowProcA(wnd->controlProc_, hwnd, message, wParam, lParam)
                               : ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    ::RemovePropA(hwnd, kObjectProp);
    if (wnd->controlProc_) {
      ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->controlProc_));
      wnd->controlProc_ = nullptr;
    }
    wnd->m_hWnd = nullptr;
    CWinApp* app = GetApp();
    if (app && app->m_pMainWnd == wnd) ::PostQuitMessage(0);
    try {
      wnd->PostNcDestroy();
    } catch (...) {
    }
  }
  return result;
}

}  // namespace velk::fw
