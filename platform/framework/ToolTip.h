// A tooltip control whose one tool follows the pointer over the parts of a
// window: the window points the tool at the part under the pointer, with that
// part's text, and the control shows it after its usual delay.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/framework/Resources.h"
#include "platform/framework/Text.h"

namespace velk::fw {

// The control, owned by `owner`, with the tool `id` that watches the owner's
// mouse itself; the tool's rectangle stays empty until a part has a tip.
inline HWND CreateFollowingTip(HWND owner, UINT_PTR id, int maxWidth) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               ResourceInstance(), nullptr);
  if (!tip) return nullptr;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = id;
  tool.lpszText = const_cast<wchar_t*>(L"");
  ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, maxWidth);
  return tip;
}

// Points the tool at `part` (client coordinates) with `text`; empty text shows
// no tip. The control saw the pointer's move before the tool took its new
// place, so it is shown that move again: a pointer that comes to rest on the
// part gets its tip.
inline void PointFollowingTip(HWND tip, HWND owner, UINT_PTR id, const RECT& part, const std::string& text,
                              const MSG& move) {
  std::wstring wide = Widen(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = owner;
  tool.uId = id;
  if (!wide.empty()) tool.rect = part;
  ::SendMessageW(tip, TTM_POP, 0, 0);
  ::SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = wide.data();
  ::SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  MSG again = move;
  again.hwnd = owner;
  again.time = static_cast<DWORD>(::GetMessageTime());
  ::ClientToScreen(owner, &again.pt);
  ::SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&again));
}

}  // namespace velk::fw
