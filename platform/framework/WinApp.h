// The application object: one per process. The program derives from it,
// starts in InitInstance, runs the message loop until its main window is gone
// and cleans up in ExitInstance.
#pragma once

#include <windows.h>

#include <string>

namespace velk::fw {

class CWnd;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual bool InitInstance() { return true; }
  virtual int ExitInstance() { return exitCode_; }
  // The message loop; returns when WM_QUIT arrives.
  virtual int Run();

  HINSTANCE m_hInstance = nullptr;
  std::string m_cmdLine;         // raw, as the process got it, without the program name
  int m_nCmdShow = SW_SHOWNORMAL;
  std::string m_programName;     // the executable's base name: "Velk" for Velk.exe
  std::string m_modulePath;      // full path of the executable
  CWnd* m_pMainWnd = nullptr;    // the window whose destruction ends the loop

 protected:
  int exitCode_ = 0;
};

// The one application object, or null.
CWinApp* GetApp();

// WinMain's work: fills the application object from the process, then
// InitInstance, Run when it succeeded, and ExitInstance.
int AppMain(CWinApp& app, HINSTANCE instance, const char* cmdLine, int cmdShow);

}  // namespace velk::fw
