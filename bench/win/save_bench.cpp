// save_bench: how long writing the automatic playlist takes at 100,000
// entries under Wine (the player does it on its window's thread a second
// after the entries change), against writing the same bytes with one
// WriteFile call; prints the medians and their ratio.
//   save_bench [ENTRIES] [RUNS]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/framework/Handles.h"
#include "core/SettingsStore.h"
#include "player/playlist/PlayList.h"
#include "player/playlist/PlayListFile.h"
#include "player/playlist/WinFileSystem.h"
#include "tests/support/FakePlayListView.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <class F>
double Millis(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "velk-save-bench\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);

  velk::CMemorySettings settings;
  velk::testing::CFakePlayListView view;
  velk::CWinFileSystem files;
  velk::CPlayList list(settings, view, files, [] { return int64_t{0}; });
  std::vector<std::string> paths;
  char line[96];
  for (int i = 0; i < entries; ++i) {
    std::snprintf(line, sizeof(line), "D:\\Music\\Album %03d\\Track %06d.mp3", i / 100, i);
    paths.emplace_back(line);
  }
  list.AddEntries(paths, 0);
  const std::string bytes = velk::FormatPlayList(list.Paths(), folder);

  std::vector<double> save, baseline;
  for (int r = 0; r < runs; ++r) {
    save.push_back(Millis([&] { velk::WritePlayList(list, files, "velk.m3u", folder); }));
    baseline.push_back(Millis([&] {
      velk::fw::CHandle f(
          ::CreateFileA((folder + "plain.m3u").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      DWORD written = 0;
      ::WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      ::FlushFileBuffers(f.Get());
    }));
  }
  ::DeleteFileA((folder + "velk.m3u").c_str());
  ::DeleteFileA((folder + "plain.m3u").c_str());
  ::RemoveDirectoryA(folder.c_str());
  std::printf("save of %d entries: %.1f ms (median of %d); one WriteFile of the same %zu bytes: %.1f ms; ratio %.2f\n",
              entries, Median(save), runs, bytes.size(), Median(baseline), Median(save) / Median(baseline));
  return 0;
}
