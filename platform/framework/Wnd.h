// The window base of the framework: a C++ object bound to one HWND, with a
// message table per class chained to its base. Handlers get the decoded
// message and say whether they handled it; what they leave goes to the
// default window procedure. No exception leaves the window procedure.
#pragma once

#include <windows.h>

#include <string>

#include "platform/framework/MessageMap.h"
#include "platform/framework/Resources.h"

namespace velk::fw {

class CWnd;

struct MsgArgs {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;

  int X() const { return static_cast<short>(LOWORD(lParam)); }
  int Y() const { return static_cast<short>(HIWORD(lParam)); }
  POINT Point() const { return POINT{X(), Y()}; }
  UINT CommandId() const { return LOWORD(wParam); }
  UINT Key() const { return static_cast<UINT>(wParam); }
};

using MsgHandler = bool (*)(CWnd& wnd, MsgArgs& args);
using WndMsgEntry = MsgEntry<MsgHandler>;
using WndMsgTable = MsgTable<MsgHandler>;

template <class T, bool (T::*Method)(MsgArgs&)>
bool Thunk(CWnd& wnd, MsgArgs& args) {
  return (static_cast<T&>(wnd).*Method)(args);
}

// Entries of a message table.
#define VELK_ON_MESSAGE(msg, Class, Method) \
  {::velk::fw::MsgKind::Message, (msg), (msg), 0, &::velk::fw::Thunk<Class, &Class::Method>}
#define VELK_ON_MESSAGE_RANGE(first, last, Class, Method) \
  {::velk::fw::MsgKind::Message, (first), (last), 0, &::velk::fw::Thunk<Class, &Class::Method>}
#define VELK_ON_COMMAND(id, Class, Method) \
  {::velk::fw::MsgKind::Command, (id), (id), 0, &::velk::fw::Thunk<Class, &Class::Method>}
#define VELK_ON_COMMAND_RANGE(first, last, Class, Method) \
  {::velk::fw::MsgKind::Command, (first), (last), 0, &::velk::fw::Thunk<Class, &Class::Method>}
// Every message or command `accepts` says yes to: a table of the class's own,
// asked, instead of ranges that hold only while the numbers lie together.
#define VELK_ON_ASKED(accepts, Class, Method) \
  {::velk::fw::MsgKind::Asked, 0, 0, 0, &::velk::fw::Thunk<Class, &Class::Method>, (accepts)}
#define VELK_ON_NOTIFY(id, code, Class, Method)                      \
  {::velk::fw::MsgKind::Notify, (id), (id), static_cast<uint32_t>(code), \
   &::velk::fw::Thunk<Class, &Class::Method>}

// In the class declaration (leaves the access public):
//   VELK_DECLARE_MESSAGE_TABLE()
// In the source file, handlers may be private:
//   VELK_BEGIN_MESSAGE_TABLE(CMainWindow)
//     VELK_ON_MESSAGE(WM_PAINT, CMainWindow, OnPaint),
//   VELK_END_MESSAGE_TABLE(CMainWindow, CSkinWnd);
#define VELK_DECLARE_MESSAGE_TABLE()                                                     \
 public:                                                                                 \
  static const ::velk::fw::WndMsgEntry kMessageEntries[];                                \
  static const ::velk::fw::WndMsgTable kMessageTable;                                    \
  const ::velk::fw::WndMsgTable* GetMessageTable() const override { return &kMessageTable; }

#define VELK_BEGIN_MESSAGE_TABLE(Class) const ::velk::fw::WndMsgEntry Class::kMessageEntries[] = {
#define VELK_END_MESSAGE_TABLE(Class, Base)                                      \
  }                                                                              \
  ;                                                                              \
  const ::velk::fw::WndMsgTable Class::kMessageTable = {                         \
      &Base::kMessageTable, Class::kMessageEntries,                              \
      sizeof(Class::kMessageEntries) / sizeof(Class::kMessageEntries[0])}

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  static const WndMsgTable kMessageTable;
  virtual const WndMsgTable* GetMessageTable() const { return &kMessageTable; }

  // Registers a window class whose procedure dispatches to CWnd objects.
  // Registering the same name again is harmless.
  static bool RegisterClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background,
                            HICON icon = nullptr);
  bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                int y, int width, int height, HWND parent, HMENU menuOrId);
  bool DestroyWindow();

  // The object behind a window created through CreateEx, or null.
  static CWnd* FromHandle(HWND hwnd);

  // Takes over a window of a system class (a list view, ...): its messages go
  // through this object's table first and what is left to the control's own
  // procedure. Notifications and owner-draw requests the control sends to its
  // parent come back to this object through OnChildNotify.
  bool SubclassControl(HWND hwnd);

  HWND GetSafeHwnd() const { return m_hWnd; }
  bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
  std::string GetWindowText() const;
  RECT GetClientRect() const;
  RECT GetWindowRect() const;
  void Invalidate(bool erase = false) const;
  void InvalidateRect(const RECT& rc, bool erase = false) const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  HWND m_hWnd = nullptr;

 protected:
  // Table dispatch; unhandled messages reach DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The default processing of the message being handled, for handlers that
  // must run it before doing their own work.
  LRESULT Default();
  // After the last message (WM_NCDESTROY) of the window.
  virtual void PostNcDestroy() {}
  // A notification (WM_NOTIFY, WM_DRAWITEM) this window sent to its parent,
  // handed back by the parent; true when handled, with *result the answer.
  virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Binds this object to a window that was not created through CreateEx
  // (dialogs); FromHandle finds it afterwards.
  void BindHandle(HWND hwnd);
  void UnbindHandle();

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  const MsgArgs* current_ = nullptr;
  WNDPROC controlProc_ = nullptr;  // the system class's own procedure, when subclassed
};

// Decodes a message into the key of the table lookup.
MsgKey KeyOf(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velk::fw
