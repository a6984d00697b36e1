// A pop-up menu built in code or taken from a menu resource, destroyed with
// its owner; submenus appended to it are destroyed with it.
#pragma once

#include <windows.h>

#include <utility>

namespace velk::fw {

class CMenu {
 public:
  CMenu() = default;
  explicit CMenu(HMENU menu) : menu_(menu) {}
  ~CMenu() { Destroy(); }
  CMenu(CMenu&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)) {}
  CMenu& operator=(CMenu&& other) noexcept {
    if (this != &other) {
      Destroy();
      menu_ = std::exchange(other.menu_, nullptr);
    }
    return *this;
  }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  static CMenu CreatePopup() { return CMenu(::CreatePopupMenu()); }
  static CMenu LoadResource(UINT id) { return CMenu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id))); }

  HMENU Handle() const { return menu_; }
  explicit operator bool() const { return menu_ != nullptr; }

  bool AppendItem(UINT id, const char* text, bool checked = false) {
    return ::AppendMenuA(menu_, MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), id, text) != FALSE;
  }
  // The submenu now belongs to this menu.
  bool AppendSubMenu(CMenu&& sub, const char* text) {
    HMENU h = sub.menu_;
    if (!::AppendMenuA(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(h), text)) return false;
    sub.menu_ = nullptr;
    return true;
  }
  HMENU SubMenu(int position) const { return ::GetSubMenu(menu_, position); }

  // Shows the menu at a screen point; the chosen command reaches `owner` as WM_COMMAND.
  bool Track(HWND owner, POINT screen, UINT flags = TPM_LEFTALIGN | TPM_RIGHTBUTTON) const {
    return ::TrackPopupMenu(menu_, flags, screen.x, screen.y, 0, owner, nullptr) != FALSE;
  }

 private:
  void Destroy() {
    if (menu_) ::DestroyMenu(menu_);
    menu_ = nullptr;
  }
  HMENU menu_ = nullptr;
};

}  // namespace velk::fw
