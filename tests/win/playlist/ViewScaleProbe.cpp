// How the playlist view's cost grows with the list: a view created, filled
// with 100,000 rows and painted against one with 100 rows and an empty one,
// jumping to the end of 100,000 rows against the end of 100, and removing
// every other row of a selected list, each measured in the same run. Prints
// the times and their ratios.
//   ./velk build && ./velk wine out/win/testbin/playlist_view_scale.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/SettingsStore.h"
#include "player/playlist/PlayListCtrl.h"

namespace {

using velk::CPlayListCtrl;

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The best of several runs, which is the least disturbed by the machine.
double Best(int runs, const std::function<double()>& measure) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) best = std::min(best, measure());
  return best;
}

std::vector<std::string> Texts(int count) {
  std::vector<std::string> texts;
  texts.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) texts.push_back("Artist " + std::to_string(i % 97) + " - Title " + std::to_string(i));
  return texts;
}

class CHost : public velk::fw::CWnd {};

}  // namespace

int main() {
  velk::fw::CWnd::RegisterClass("VelkScaleParent", 0, nullptr, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  CHost host;
  host.CreateEx(0, "VelkScaleParent", "scale", WS_POPUP | WS_VISIBLE, 0, 0, 330, 400, nullptr, nullptr);
  velk::CMemorySettings settings;
  const RECT place{12, 20, 312, 380};

  auto start = [&](int rows) {
    std::vector<std::string> texts = Texts(rows);  // made before the clock runs, as the playlist hands them over
    CPlayListCtrl view(settings);
    return Milliseconds([&] {
      view.Create(host.m_hWnd, place);
      if (rows) view.InsertRows(0, std::move(texts));
      view.SetPlayingIndex(0);
      ::UpdateWindow(view.m_hWnd);
    });
  };
  auto toEnd = [&](int rows) {
    CPlayListCtrl view(settings);
    view.Create(host.m_hWnd, place);
    view.InsertRows(0, Texts(rows));
    ::UpdateWindow(view.m_hWnd);
    return Milliseconds([&] {
      view.ScrollIntoView(rows - 1);
      view.SelectRange(rows - 1, rows - 1);
      ::UpdateWindow(view.m_hWnd);
    });
  };
  auto selectAll = [&](int rows) {
    CPlayListCtrl view(settings);
    view.Create(host.m_hWnd, place);
    view.InsertRows(0, Texts(rows));
    ::UpdateWindow(view.m_hWnd);
    return Milliseconds([&] {
      view.SelectRange(0, rows - 1);
      ::UpdateWindow(view.m_hWnd);
    });
  };
  auto removeHalf = [&](int rows) {
    CPlayListCtrl view(settings);
    view.Create(host.m_hWnd, place);
    view.InsertRows(0, Texts(rows));
    std::vector<int32_t> odd;
    for (int32_t i = 1; i < rows; i += 2) odd.push_back(i);
    view.SelectRange(0, rows - 1);
    return Milliseconds([&] {
      view.RemoveRows(odd);
      ::UpdateWindow(view.m_hWnd);
    });
  };

  const double empty = Best(5, [&] { return start(0); });
  const double few = Best(5, [&] { return start(100); });
  const double full = Best(5, [&] { return start(100000); });
  std::printf("create, fill, paint: empty %.2f ms, 100 rows %.2f ms, 100,000 rows %.2f ms; 100,000 : 100 = %.2f\n",
              empty, few, full, full / few);
  const double endShort = Best(5, [&] { return toEnd(100); });
  const double endLong = Best(5, [&] { return toEnd(100000); });
  std::printf("jump to the last row and paint: 100 rows %.2f ms, 100,000 rows %.2f ms, ratio %.2f\n", endShort,
              endLong, endLong / endShort);
  const double allShort = Best(3, [&] { return selectAll(100); });
  const double allLong = Best(3, [&] { return selectAll(100000); });
  std::printf("select every row: 100 rows %.2f ms, 100,000 rows %.2f ms; ratio %.2f\n", allShort, allLong,
              allLong / allShort);
  const double removeShort = Best(3, [&] { return removeHalf(100); });
  const double removeLong = Best(3, [&] { return removeHalf(100000); });
  std::printf("remove every other row, all selected: 100 rows %.2f ms, 100,000 rows %.2f ms; ratio %.2f\n",
              removeShort, removeLong, removeLong / removeShort);
  host.DestroyWindow();
  return 0;
}
