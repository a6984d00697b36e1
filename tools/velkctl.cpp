// velkctl: what the launcher needs to see and steer the running player from
// outside: wait until a window shows, and close it as a user would.
//   velkctl wait-window TITLE TIMEOUT_MS   exit code 0 when it showed
//   velkctl close TITLE TIMEOUT_MS         posts WM_CLOSE and waits until it is gone
//   velkctl rect TITLE TIMEOUT_MS          prints the shown window's screen rectangle
//                                          as "left top right bottom"
//   velkctl wait-menus COUNT TIMEOUT_MS    exit code 0 once COUNT pop-up menus show
//   velkctl menu-rect TIMEOUT_MS            prints the screen rectangle of a shown pop-up menu
//   velkctl tip TIMEOUT_MS                  prints the rectangle and, on a second line, the
//                                          text of a shown tooltip
//   velkctl command TITLE ID TIMEOUT_MS    posts the menu command ID to the shown window
//   velkctl message TITLE MSG TIMEOUT_MS   posts the window message MSG (0, 0) to the shown window
//   velkctl picture TITLE TIMEOUT_MS       prints the screen rectangle of the shown window's
//                                          visible child (the video picture), once it has one
//   velkctl monitors                       prints each monitor's rectangle and work area,
//                                          "left top right bottom  left top right bottom"
// TITLE may also be "class:NAME": the unowned top-level window of that class
// (the player's main window, whose title follows the playing entry).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <shlobj.h>
#include <shellapi.h>

#include "platform/framework/Handles.h"
#include "platform/framework/Text.h"

static BOOL CALLBACK CountMenu(HWND h, LPARAM count) {
  char cls[32] = {};
  ::GetClassNameA(h, cls, sizeof(cls));
  if (std::strcmp(cls, "#32768") == 0 && ::IsWindowVisible(h)) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

static int ShownMenus() {
  int count = 0;
  ::EnumWindows(&CountMenu, reinterpret_cast<LPARAM>(&count));
  return count;
}

// The first shown window of a class, owned or not (menus, tooltips).
struct ShownSearch {
  const char* className;
  HWND found;
};

static BOOL CALLBACK FindShownOfClass(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<ShownSearch*>(lp);
  char cls[64] = {};
  ::GetClassNameA(h, cls, sizeof(cls));
  if (std::strcmp(cls, s->className) != 0 || !::IsWindowVisible(h)) return TRUE;
  s->found = h;
  return FALSE;
}

static HWND WaitShownOfClass(const char* className, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    ShownSearch s{className, nullptr};
    ::EnumWindows(&FindShownOfClass, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (::GetTickCount() - start > timeoutMs) return nullptr;
    ::Sleep(50);
  }
}


struct ClassSearch {
  const char* className;
  bool mustBeVisible;
  HWND found;
};

static BOOL CALLBACK MatchClass(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<ClassSearch*>(lp);
  char cls[256] = {};
  ::GetClassNameA(h, cls, sizeof(cls));
  if (std::strcmp(cls, s->className) != 0 || ::GetWindow(h, GW_OWNER)) return TRUE;
  if (s->mustBeVisible && !::IsWindowVisible(h)) return TRUE;
  s->found = h;
  return FALSE;
}

static HWND FindTarget(const char* target, bool mustBeVisible) {
  HWND h = nullptr;
  if (std::strncmp(target, "class:", 6) == 0) {
    ClassSearch s{target + 6, mustBeVisible, nullptr};
    ::EnumWindows(&MatchClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
  }
  h = ::FindWindowA(nullptr, target);
  return (h && (!mustBeVisible || ::IsWindowVisible(h))) ? h : nullptr;
}

static HWND FindShown(const char* target) { return FindTarget(target, true); }

// The shown window, waited for until timeoutMs after start; null when it never showed.
static HWND WaitShown(const char* target, DWORD start, DWORD timeoutMs) {
  HWND h;
  while (!(h = FindShown(target))) {
    if (::GetTickCount() - start > timeoutMs) return nullptr;
    ::Sleep(100);
  }
  return h;
}

static int PrintRect(HWND h) {
  RECT rc{};
  ::GetWindowRect(h, &rc);
  std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
  return 0;
}

// Drops the files named on the command line (exactly, in any script) on the
// window's client point (x, y), as the shell does: a DROPFILES block of UTF-16
// names with WM_DROPFILES. The block is written into the window's own process
// (fixed memory, which a drop handle may be), as a drop there would make it.
static int Drop(HWND h, int x, int y, int first) {
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!args) return 1;
  std::wstring names;
  for (int i = first; i < count; ++i) names.append(args[i]).push_back(L'\0');
  names.push_back(L'\0');
  ::LocalFree(args);
  std::string block(sizeof(DROPFILES) + names.size() * sizeof(wchar_t), '\0');
  auto* drop = reinterpret_cast<DROPFILES*>(block.data());
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = {x, y};
  drop->fWide = TRUE;
  std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  const velk::fw::CHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
  if (!process.Valid()) return 1;
  void* remote =
      ::VirtualAllocEx(process.Get(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote || !::WriteProcessMemory(process.Get(), remote, block.data(), block.size(), nullptr)) return 1;
  return ::PostMessageW(h, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) ? 0 : 1;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT &m = info.rcMonitor, &w = info.rcWork;
  std::printf("%ld %ld %ld %ld  %ld %ld %ld %ld\n", m.left, m.top, m.right, m.bottom, w.left, w.top, w.right,
              w.bottom);
  return TRUE;
}

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "monitors") == 0) {
    return ::EnumDisplayMonitors(nullptr, nullptr, &PrintMonitor, 0) ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "menu-rect") == 0) {
    HWND menu = WaitShownOfClass("#32768", static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    return menu ? PrintRect(menu) : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "tip") == 0) {
    HWND tip = WaitShownOfClass("tooltips_class32", static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    if (!tip) return 1;
    char text[1024] = {};
    ::GetWindowTextA(tip, text, sizeof(text));
    PrintRect(tip);
    std::printf("%s\n", text);
    return 0;
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: velkctl wait-window|close|rect|title|picture TITLE TIMEOUT_MS | wait-menus COUNT TIMEOUT_MS | menu-rect|tip TIMEOUT_MS | command|message TITLE ID TIMEOUT_MS | drop TITLE TIMEOUT_MS X Y FILE...\n");
    return 2;
  }
  const char* verb = argv[1];
  const char* title = argv[2];
  DWORD timeout = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
  DWORD start = ::GetTickCount();
  if (std::strcmp(verb, "wait-window") == 0) {
    while (!FindShown(title)) {
      if (::GetTickCount() - start > timeout) return 1;
      ::Sleep(100);
    }
    return 0;
  }
  if (std::strcmp(verb, "wait-menus") == 0) {
    const int wanted = std::atoi(title);
    while (ShownMenus() < wanted) {
      if (::GetTickCount() - start > timeout) return 1;
      ::Sleep(50);
    }
    return 0;
  }
  if (std::strcmp(verb, "rect") == 0) {
    HWND h = WaitShown(title, start, timeout);
    return h ? PrintRect(h) : 1;
  }
  if (std::strcmp(verb, "picture") == 0) {
    HWND h = nullptr, child = nullptr;
    for (;;) {
      if ((h = FindShown(title))) {
        child = ::GetWindow(h, GW_CHILD);
        while (child && !::IsWindowVisible(child)) child = ::GetWindow(child, GW_HWNDNEXT);
        if (child) break;
      }
      if (::GetTickCount() - start > timeout) return 1;
      ::Sleep(100);
    }
    return PrintRect(child);
  }
  if (std::strcmp(verb, "title") == 0) {
    HWND h = WaitShown(title, start, timeout);
    if (!h) return 1;
    // As UTF-8, whatever this program's code page: titles name files in any script.
    wchar_t text[1024] = {};
    ::GetWindowTextW(h, text, 1024);
    std::printf("%s\n", velk::fw::Narrow(std::wstring_view(text), CP_UTF8).c_str());
    return 0;
  }
  // command: WM_COMMAND with the id; message: that window message with 0, 0.
  const bool command = std::strcmp(verb, "command") == 0, message = std::strcmp(verb, "message") == 0;
  if ((command || message) && argc >= 5) {
    const unsigned long number = std::strtoul(argv[3], nullptr, 0);
    timeout = static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10));
    HWND h = WaitShown(title, start, timeout);
    if (!h) return 1;
    const BOOL posted = command ? ::PostMessageA(h, WM_COMMAND, static_cast<WPARAM>(number), 0)
                                : ::PostMessageA(h, static_cast<UINT>(number), 0, 0);
    return posted ? 0 : 1;
  }
  if (std::strcmp(verb, "drop") == 0 && argc >= 7) {
    HWND h = WaitShown(title, start, timeout);
    return h ? Drop(h, std::atoi(argv[4]), std::atoi(argv[5]), 6) : 1;
  }
  if (std::strcmp(verb, "close") == 0) {
    HWND h = FindTarget(title, false);
    if (!h) return 0;
    ::PostMessageA(h, WM_CLOSE, 0, 0);
    while (::IsWindow(h)) {
      if (::GetTickCount() - start > timeout) return 1;
      ::Sleep(100);
    }
    return 0;
  }
  return 2;
}
