// Thin owners of device contexts, and the standard cursors.
#pragma once

#include <windows.h>

namespace velk::fw {

// The client area's device context for drawing outside WM_PAINT.
class CClientDC {
 public:
  explicit CClientDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  ~CClientDC() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  CClientDC(const CClientDC&) = delete;
  CClientDC& operator=(const CClientDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint for a WM_PAINT handler.
class CPaintDC {
 public:
  explicit CPaintDC(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
  ~CPaintDC() { ::EndPaint(hwnd_, &ps_); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;
  operator HDC() const { return dc_; }
  const RECT& PaintRect() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A memory device context compatible with another (the screen's for null),
// deleted with its owner.
class CMemoryDC {
 public:
  explicit CMemoryDC(HDC compatible) : dc_(::CreateCompatibleDC(compatible)) {}
  ~CMemoryDC() {
    if (dc_) ::DeleteDC(dc_);
  }
  CMemoryDC(const CMemoryDC&) = delete;
  CMemoryDC& operator=(const CMemoryDC&) = delete;
  operator HDC() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// An object selected into a device context for the owner's lifetime; the
// one it replaced goes back in at the end. A null object selects nothing.
class CSelection {
 public:
  CSelection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~CSelection() {
    if (old_) ::SelectObject(dc_, old_);
  }
  CSelection(const CSelection&) = delete;
  CSelection& operator=(const CSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Owns one GDI object (font, brush, bitmap): deleted when replaced or gone.
template <class Handle>
class CGdiObject {
 public:
  CGdiObject() = default;
  explicit CGdiObject(Handle handle) : handle_(handle) {}
  ~CGdiObject() { Reset(); }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  void Reset(Handle handle = nullptr) {
    if (handle_) ::DeleteObject(handle_);
    handle_ = handle;
  }
  Handle Get() const { return handle_; }
  // Gives the object up to the caller, who deletes it.
  Handle Release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

// The face for names and captions: Windows' own user-interface face, with
// Latin, Greek and Cyrillic, which the system links to its faces for Hangul,
// Han and kana, so text in any script shows (a bitmap face such as "System"
// shows boxes outside its code page). The launcher gives Wine the same.
inline constexpr const char* kTextFace = "Segoe UI";

// A font of that face, `height` as CreateFont takes it (negative: the
// characters' height in pixels).
inline HFONT CreateTextFont(int height, int weight = FW_NORMAL) {
  return ::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kTextFace);
}

// One of the system's cursors (IDC_ARROW, IDC_SIZENWSE, ...).
inline void SetStandardCursor(LPCSTR id) { ::SetCursor(::LoadCursorA(nullptr, id)); }

inline void FillSolidRect(HDC dc, const RECT& rc, COLORREF colour) {
  COLORREF old = ::SetBkColor(dc, colour);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
  ::SetBkColor(dc, old);
}

}  // namespace velk::fw
