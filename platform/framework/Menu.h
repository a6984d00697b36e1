// Pop-up menus: CMenuHandle works on the items of a menu owned elsewhere (a
// submenu of a loaded menu); CMenu is a menu built in code or taken from a
// menu resource, destroyed with its owner, and submenus appended to it are
// destroyed with it.
#pragma once

#include <windows.h>

#include <utility>

#include "platform/framework/Resources.h"

namespace velk::fw {

class CMenuHandle {
 public:
  CMenuHandle() = default;
  explicit CMenuHandle(HMENU menu) : menu_(menu) {}

  HMENU Handle() const { return menu_; }
  explicit operator bool() const { return menu_ != nullptr; }

  bool AppendItem(UINT id, const char* text, bool checked = false) {
    return ::AppendMenuA(menu_, MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), id, text) != FALSE;
  }
  // Checks or clears the item at `position`, whatever its command.
  bool AppendSeparator() { return ::AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr) != FALSE; }
  bool CheckItemAt(int position, bool checked) {
    return ::CheckMenuItem(menu_, static_cast<UINT>(position),
                           MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED)) != static_cast<DWORD>(-1);
  }
  HMENU SubMenu(int position) const { return ::GetSubMenu(menu_, position); }

  // Shows the menu at a screen point; the chosen command reaches `owner` as WM_COMMAND.
  bool Track(HWND owner, POINT screen, UINT flags = TPM_LEFTALIGN | TPM_RIGHTBUTTON) const {
    return ::TrackPopupMenu(menu_, flags, screen.x, screen.y, 0, owner, nullptr) != FALSE;
  }

 protected:
  HMENU menu_ = nullptr;
};

class CMenu : public CMenuHandle {
 public:
  CMenu() = default;
  explicit CMenu(HMENU menu) : CMenuHandle(menu) {}
  ~CMenu() { Destroy(); }
  CMenu(CMenu&& other) noexcept : CMenuHandle(std::exchange(other.menu_, nullptr)) {}
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
  // Menu resource `id` of ResourceInstance().
  static CMenu LoadResource(UINT id) { return CMenu(::LoadMenuA(ResourceInstance(), MAKEINTRESOURCEA(id))); }

  // The submenu now belongs to this menu.
  bool AppendSubMenu(CMenu&& sub, const char* text) {
    HMENU h = sub.menu_;
    if (!::AppendMenuA(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(h), text)) return false;
    sub.menu_ = nullptr;
    return true;
  }

 private:
  void Destroy() {
    if (menu_) ::DestroyMenu(menu_);
    menu_ = nullptr;
  }
};

// Walks a menu and its submenus: every command that markOf gives a mark (an
// optional with .enabled and .checked) is greyed or enabled and checked or
// cleared accordingly; other items stay as they are.
template <class MarkOf>
void MarkMenu(HMENU menu, const MarkOf& markOf) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      MarkMenu(sub, markOf);
      continue;
    }
    const UINT id = ::GetMenuItemID(menu, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators
    if (const auto mark = markOf(id)) {
      ::EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (mark->enabled ? MF_ENABLED : MF_GRAYED));
      ::CheckMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (mark->checked ? MF_CHECKED : MF_UNCHECKED));
    }
  }
}

// Shows a pop-up menu (owned elsewhere) at a screen point; the chosen command
// reaches `owner` as WM_COMMAND.
inline bool TrackMenu(HMENU menu, HWND owner, POINT screen) {
  return ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr) != FALSE;
}

}  // namespace velk::fw
