// What the engine's tests of real media share: the table of files that
// tests/support/realmedia.sh made with ffmpeg before the tests, and an engine
// with a recording owner.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/win/engine/EngineTestSupport.h"

namespace velk::enginetest {

struct Medium {
  std::string file;
  long width = 0, height = 0;  // 0 for sound only
  int millis = 0;
};

inline std::string MediaFolder() {
  std::string path = "Z:" VELK_REAL_MEDIA_UNIX;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// The table the generator wrote beside the files.
inline std::vector<Medium> ReadMedia() {
  std::vector<Medium> media;
  std::ifstream in(MediaFolder() + "\\media.tsv");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Medium m;
    if (fields >> m.file >> m.width >> m.height >> m.millis) media.push_back(m);
  }
  return media;
}

class RealMediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    media_ = ReadMedia();
    ASSERT_GE(media_.size(), 7u) << "no media table in " << MediaFolder();
    owner_.Serve(&engine_);
  }
  void TearDown() override { engine_.Close(); }

  std::string PathOf(const Medium& m) const { return MediaFolder() + "\\" + m.file; }
  const Medium& Named(const std::string& file) const {
    for (const Medium& m : media_) {
      if (m.file == file) return m;
    }
    return media_.front();
  }
  bool WaitForEnds(size_t ends, DWORD timeoutMs) {
    return PumpUntil([&] { return owner_.Count(WM_PLAYER_ENDOFMEDIA) >= ends; }, timeoutMs);
  }

  std::vector<Medium> media_;
  CRecordingWnd owner_;
  CPlaybackEngine engine_{&owner_};
};

}  // namespace velk::enginetest
