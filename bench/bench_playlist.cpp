// The playlist at 100,000 entries: loading (with shuffle on), saving, sorting
// and removing half by selection, each timed beside a baseline of plain file
// work on the same bytes measured in the same run:
//   load, sort, remove  vs  reading the playlist file and splitting it into lines
//   save                vs  writing the same bytes to a file
// Times are processor time, the best of several rounds.
#include <algorithm>
#include <ctime>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "player/playlist/PlayList.h"
#include "player/playlist/PlayListFile.h"
#include "tests/support/FakePlayListView.h"

namespace {

using velk::CPlayList;

constexpr int kEntries = 100000;
constexpr int kRounds = 9;
const char* const kFolder = "C:\\Music\\";

// Real files in a scratch folder: a playlist path maps to one file there.
class CScratchFiles : public velk::IFileSystem {
 public:
  explicit CScratchFiles(std::string root) : root_(std::move(root)) {}
  std::string HostPath(const std::string& path) const {
    std::string name = path;
    for (char& c : name) {
      if (c == '\\' || c == ':' || c == '/') c = '_';
    }
    return root_ + "/" + name;
  }
  bool ListFolder(const std::string&, std::vector<velk::FolderItem>&) override { return false; }
  bool IsFolder(const std::string&) override { return false; }
  bool ReadAll(const std::string& path, std::string& bytes) override { return ReadHost(HostPath(path), bytes); }
  bool WriteAll(const std::string& path, const Pieces& next) override {
    FILE* f = std::fopen(HostPath(path).c_str(), "wb");
    if (!f) return false;
    bool ok = true;
    for (std::string_view piece = next(); ok && !piece.empty(); piece = next()) {
      ok = std::fwrite(piece.data(), 1, piece.size(), f) == piece.size();
    }
    return std::fclose(f) == 0 && ok;
  }
  bool MoveOver(const std::string& from, const std::string& to) override {
    return std::rename(HostPath(from).c_str(), HostPath(to).c_str()) == 0;
  }
  bool RemoveFile(const std::string& path) override { return std::remove(HostPath(path).c_str()) == 0; }
  std::string FromUtf8(std::string_view text) override { return std::string(text); }  // the host's paths are UTF-8
  std::string FromLegacy(std::string_view text) override { return std::string(text); }
  std::string ToUtf8(std::string_view path) override { return std::string(path); }

  static bool ReadHost(const std::string& host, std::string& bytes) {
    FILE* f = std::fopen(host.c_str(), "rb");
    if (!f) return false;
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    bytes.resize(static_cast<size_t>(size));
    bool ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    std::fclose(f);
    return ok;
  }
  static bool WriteHost(const std::string& host, const std::string& bytes) {
    FILE* f = std::fopen(host.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
  }

 private:
  std::string root_;
};

// Processor time of the process (user and system), so that time spent waiting
// for a processor on a busy machine is not counted against either side.
double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One timed run of work after an untimed prepare.
double TimeMs(const std::function<void()>& prepare, const std::function<void()>& work) {
  prepare();
  double t0 = CpuMs();
  work();
  return CpuMs() - t0;
}

void Report(const char* what, double ms, const char* baselineName, double baselineMs, double goal) {
  double ratio = ms / baselineMs;
  std::printf("%-34s %8.2f ms   %-26s %7.2f ms   ratio %5.2f   goal < %.0fx  %s\n", what, ms, baselineName,
              baselineMs, ratio, goal, ratio < goal ? "ok" : "MISSED");
}

struct Rig {
  velk::CMemorySettings settings;
  velk::testing::CFakePlayListView view;
  std::unique_ptr<CPlayList> list;
  Rig(velk::IFileSystem& files, bool shuffle) {
    settings.WriteInt("playlist", "random", shuffle ? 1 : 0);
    list = std::make_unique<CPlayList>(settings, view, files);
  }
};

}  // namespace

int main() {
  char scratch[] = "/tmp/velk-bench-XXXXXX";
  if (!mkdtemp(scratch)) return 1;
  CScratchFiles files(scratch);
  // The automatic playlist written when a playlist object goes away lands here too.
  std::mt19937 rng(1);
  std::vector<std::string> paths;
  for (int i = 0; i < kEntries; ++i) {
    char path[200];
    std::snprintf(path, sizeof path, "%sArtist %03u\\Album %02u\\%05u Track title %u.mp3", kFolder,
                  static_cast<unsigned>(rng() % 1000), static_cast<unsigned>(rng() % 20),
                  static_cast<unsigned>(rng() % 100000), static_cast<unsigned>(i));
    paths.push_back(path);
  }
  const std::string bytes = velk::FormatPlayList(paths, kFolder);
  CScratchFiles::WriteHost(files.HostPath(std::string(kFolder) + "list.m3u"), bytes);
  std::printf("playlist of %d entries, %zu bytes\n", kEntries, bytes.size());

  const std::string listFile = files.HostPath(std::string(kFolder) + "list.m3u");
  std::vector<std::string> kept;
  auto readAndSplit = [&] {
    std::vector<std::string> lines;
    std::string data;
    CScratchFiles::ReadHost(listFile, data);
    size_t pos = 0;
    while (pos < data.size()) {
      size_t end = data.find('\n', pos);
      if (end == std::string::npos) end = data.size();
      size_t len = end - pos;
      if (len > 0 && data[end - 1] == '\r') --len;
      lines.emplace_back(data, pos, len);
      pos = end + 1;
    }
    kept = std::move(lines);
  };

  std::unique_ptr<Rig> rig;
  auto loaded = [&](bool selectHalf) {
    rig = std::make_unique<Rig>(files, true);
    velk::LoadPlayList(*rig->list, files, "list.m3u", kFolder, 0);
    if (rig->list->Count() != kEntries) std::exit(2);
    for (size_t i = 0; selectHalf && i < rig->view.rows.size(); i += 2) rig->view.rows[i].selected = true;
  };

  // Rounds run every task once, baselines among them, so a busy machine slows
  // all of them alike; the best round of each task counts.
  double readSplit = 1e300, writeBytes = 1e300, load = 1e300, save = 1e300, sort = 1e300, remove = 1e300,
         crop = 1e300;
  auto best = [](double& slot, double ms) { slot = std::min(slot, ms); };
  for (int round = 0; round < kRounds; ++round) {
    // Reading and loading both start from an empty heap.
    auto clean = [&] {
      kept = {};
      rig.reset();
    };
    best(readSplit, TimeMs(clean, readAndSplit));
    best(load, TimeMs([&] { clean(); rig = std::make_unique<Rig>(files, true); },
                      [&] { velk::LoadPlayList(*rig->list, files, "list.m3u", kFolder, 0); }));
    best(writeBytes, TimeMs([] {}, [&] { CScratchFiles::WriteHost(files.HostPath("plain.m3u"), bytes); }));
    best(save, TimeMs([] {}, [&] { velk::WritePlayList(*rig->list, files, "saved.m3u", kFolder); }));
    best(sort, TimeMs([&] { loaded(false); }, [&] { rig->list->SortEntries(true); }));
    best(remove, TimeMs([&] { loaded(true); }, [&] { rig->list->RemoveEntries(true); }));
    if (rig->list->Count() != kEntries / 2) return 3;
    best(crop, TimeMs([&] { loaded(true); }, [&] { rig->list->RemoveEntries(false); }));
  }
  rig.reset();

  Report("load (shuffle on)", load, "baseline read+split", readSplit, 3);
  Report("save", save, "baseline write bytes", writeBytes, 3);
  Report("sort ascending", sort, "baseline read+split", readSplit, 10);
  Report("remove half (selected)", remove, "baseline read+split", readSplit, 10);
  Report("crop half (not selected)", crop, "baseline read+split", readSplit, 10);

  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
  return 0;
}
