// libFuzzer target: any bytes as a playlist file. Loading must keep rows and
// paths in step (and the shuffle order whole), and writing the loaded list
// back then reading it again must give the same paths.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "player/playlist/Location.h"
#include "player/playlist/PlayList.h"
#include "player/playlist/PlayListFile.h"
#include "tests/support/FakePlayListView.h"
#include "tests/support/MemoryFileSystem.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckConsistent(const velk::CPlayList& list, const velk::testing::CFakePlayListView& view) {
  const auto count = static_cast<size_t>(list.Count());
  Check(view.rows.size() == count);
  for (size_t i = 0; i < count; ++i) Check(view.rows[i].text == velk::DisplayText(list.Paths()[i]));
  if (!list.Shuffle()) return;
  Check(list.ShuffleOrder().size() >= count);
  std::string seen(count, 0);
  for (size_t slot = 0; slot < count; ++slot) {
    uint32_t n = list.ShuffleOrder()[slot];
    Check(n < count && !seen[n]);
    seen[n] = 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* folder = "C:\\Lists\\";
  velk::CMemorySettings settings;
  settings.WriteInt("playlist", "random", static_cast<int32_t>(size & 1));
  velk::testing::CMemoryFileSystem files;
  files.AddFile("C:\\Lists\\in.m3u", std::string(reinterpret_cast<const char*>(data), size));

  velk::testing::CFakePlayListView view, viewBack;
  velk::CPlayList list(settings, view, files, [] { return int64_t{7}; });
  list.AddEntry("D:\\before.mp3", 0);
  velk::LoadPlayList(list, files, "in.m3u", folder, 1);
  CheckConsistent(list, view);

  Check(velk::WritePlayList(list, files, "out.m3u", folder));
  velk::CPlayList back(settings, viewBack, files, [] { return int64_t{7}; });
  velk::LoadPlayList(back, files, "out.m3u", folder, 0);
  Check(back.Paths() == list.Paths());

  for (velk::NavStep step : {velk::NavStep::Next, velk::NavStep::Advance, velk::NavStep::Previous}) list.Navigate(step);
  list.SortEntries(true);
  CheckConsistent(list, view);
  return 0;
}
