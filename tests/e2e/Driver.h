// Driving the real programs from a test: start them, find their windows, send
// them what a user or the system would, and wait for them to finish.
#pragma once

#include <windows.h>

#include <string>

#include "platform/framework/Handles.h"

namespace velk::e2e {

// The folder of the built programs, as a Windows path.
std::string BinDir();
// A Unix path as Wine's Windows path (Z: maps the Unix root).
std::string WindowsPathOf(const std::string& unixPath);

class CProcess {
 public:
  CProcess() = default;
  ~CProcess();  // a process still running at the end of a test is killed
  CProcess(const CProcess&) = delete;
  CProcess& operator=(const CProcess&) = delete;

  // commandTail is appended after the quoted program path, as a shell would.
  bool Start(const std::string& program, const std::string& commandTail,
             const std::string& currentDir = std::string());
  bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  DWORD Id() const { return pid_; }
  HANDLE Handle() const { return process_.Get(); }

 private:
  fw::CHandle process_;
  DWORD pid_ = 0;
};

// A visible top-level window of the process with the given title, or null after the timeout.
// title: the window's text, or "class:NAME" for an unowned window of that class.
HWND WaitForWindow(DWORD pid, const std::string& title, DWORD timeoutMs);
// A top-level window of the process with the given title, visible or not, now.
HWND FindProcessWindow(DWORD pid, const std::string& title, bool mustBeVisible);

// Registry helpers for HKEY_CURRENT_USER.
std::string ReadUserString(const std::string& keyPath, const std::string& name,
                           bool* found = nullptr);
void DeleteUserTree(const std::string& keyPath);

}  // namespace velk::e2e
