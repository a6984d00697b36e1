#include "tests/e2e/Driver.h"

#include <vector>

namespace velk::e2e {

std::string WindowsPathOf(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

std::string BinDir() { return WindowsPathOf(VELK_BIN_DIR_UNIX); }

CProcess::~CProcess() {
  if (process_.Valid() && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.Get(), 99);
    ::WaitForSingleObject(process_.Get(), 5000);
  }
}

bool CProcess::Start(const std::string& program, const std::string& commandTail,
                     const std::string& currentDir) {
  std::string cmd = "\"" + program + "\"";
  if (!commandTail.empty()) cmd += " " + commandTail;
  std::vector<char> buf(cmd.begin(), cmd.end());
  buf.push_back('\0');
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(program.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDir.empty() ? nullptr : currentDir.c_str(), &si, &pi)) {
    return false;
  }
  fw::CHandle thread(pi.hThread);  // not needed
  process_ = fw::CHandle(pi.hProcess);
  pid_ = pi.dwProcessId;
  return true;
}

bool CProcess::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_.Valid() || ::WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) ::GetExitCodeProcess(process_.Get(), exitCode);
  return true;
}

namespace {
struct FindState {
  DWORD pid;
  const std::string* title;
  bool visible;
  HWND found;
};

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp) {
  auto* st = reinterpret_cast<FindState*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != st->pid) return TRUE;
  if (st->visible && !::IsWindowVisible(hwnd)) return TRUE;
  char text[512] = {};
  if (st->title->rfind("class:", 0) == 0) {
    // A top-level window of that class, whatever its title shows.
    ::GetClassNameA(hwnd, text, sizeof(text));
    if (st->title->compare(6, std::string::npos, text) != 0 || ::GetWindow(hwnd, GW_OWNER)) return TRUE;
  } else {
    ::GetWindowTextA(hwnd, text, sizeof(text));
    if (*st->title != text) return TRUE;
  }
  st->found = hwnd;
  return FALSE;
}
}  // namespace

HWND FindProcessWindow(DWORD pid, const std::string& title, bool mustBeVisible) {
  FindState st{pid, &title, mustBeVisible, nullptr};
  ::EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&st));
  return st.found;
}

HWND WaitForWindow(DWORD pid, const std::string& title, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (HWND h = FindProcessWindow(pid, title, true)) return h;
    if (::GetTickCount() - start > timeoutMs) return nullptr;
    ::Sleep(50);
  }
}

std::string ReadUserString(const std::string& keyPath, const std::string& name, bool* found) {
  if (found) *found = false;
  fw::CRegKey key;
  if (key.Open(HKEY_CURRENT_USER, keyPath.c_str()) != ERROR_SUCCESS) return std::string();
  char buf[4096] = {};
  DWORD size = sizeof(buf) - 1, type = 0;
  LONG rc = ::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return std::string();
  if (found) *found = true;
  return std::string(buf);
}

void DeleteUserTree(const std::string& keyPath) { fw::DeleteKeyTree(HKEY_CURRENT_USER, keyPath.c_str()); }

}  // namespace velk::e2e
