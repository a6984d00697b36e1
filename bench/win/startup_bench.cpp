// startup_bench: the time from starting Velk.exe to its main window shown and
// answering, with an empty automatic playlist and with a large one, measured
// alternately in the same run; prints the medians and their ratio.
//   startup_bench VELK_EXE [ENTRIES] [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/framework/Handles.h"

namespace {

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchPlayer(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  char cls[64] = {};
  ::GetClassNameA(h, cls, sizeof(cls));
  if (pid != s->pid || std::string(cls) != "VelkSkinWnd" || !::IsWindowVisible(h)) return TRUE;
  s->found = h;
  return FALSE;
}

bool WritePlayList(const std::string& path, int entries) {
  velk::fw::CHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file.Valid()) return false;
  std::string text;
  text.reserve(static_cast<size_t>(entries) * 40);
  char line[64];
  for (int i = 0; i < entries; ++i) {
    std::snprintf(line, sizeof(line), "C:\\Music\\Album %03d\\Track %06d.mp3\r\n", i / 100, i);
    text += line;
  }
  DWORD written = 0;
  return ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Seconds from CreateProcess to the main window shown and answering; -1 on failure.
double TimeOneStart(const std::string& exe, const std::string& folder) {
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  std::string commandLine = "\"" + exe + "\"";
  const double start = Now();
  if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi)) {
    return -1;
  }
  const velk::fw::CHandle thread(pi.hThread), process(pi.hProcess);
  Search s{pi.dwProcessId, nullptr};
  double shown = -1;
  while (Now() - start < 120) {
    s.found = nullptr;
    ::EnumWindows(&MatchPlayer, reinterpret_cast<LPARAM>(&s));
    if (s.found) break;
    ::Sleep(2);
  }
  DWORD_PTR answer = 0;
  if (s.found && ::SendMessageTimeoutA(s.found, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &answer)) {
    shown = Now() - start;
  }
  if (s.found) ::PostMessageA(s.found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.Get(), 120000) != WAIT_OBJECT_0) ::TerminateProcess(process.Get(), 1);
  return shown;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup_bench VELK_EXE [ENTRIES] [RUNS]\n");
    return 2;
  }
  const int entries = argc > 2 ? std::atoi(argv[2]) : 100000;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "velk-startup-" + std::to_string(::GetCurrentProcessId());
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string exe = folder + "\\Velk.exe";
  if (!::CopyFileA(argv[1], exe.c_str(), FALSE)) {
    std::fprintf(stderr, "startup_bench: cannot copy %s\n", argv[1]);
    return 1;
  }
  const std::string list = folder + "\\velk.m3u";
  velk::fw::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Velk");

  std::vector<double> empty, large;
  bool ok = true;
  for (int r = 0; r < runs + 1 && ok; ++r) {  // the first pair warms the caches and is not counted
    for (int size : {0, entries}) {
      ok = ok && WritePlayList(list, size);
      const double t = ok ? TimeOneStart(exe, folder) : -1;
      ok = ok && t >= 0;
      if (ok && r > 0) (size == 0 ? empty : large).push_back(t);
    }
  }
  velk::fw::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Velk");
  ::DeleteFileA(list.c_str());
  ::DeleteFileA(exe.c_str());
  ::RemoveDirectoryA(folder.c_str());
  if (!ok) {
    std::fprintf(stderr, "startup_bench: a start failed\n");
    return 1;
  }
  const double e = Median(empty), l = Median(large);
  std::printf("start-up to the main window shown and answering (median of %d):\n", runs);
  std::printf("  empty playlist        %8.1f ms\n", e * 1000);
  std::printf("  %6d entries        %8.1f ms\n", entries, l * 1000);
  std::printf("  ratio                 %8.2f\n", l / e);
  return 0;
}
