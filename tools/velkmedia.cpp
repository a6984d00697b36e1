// velkmedia: writes generated media.
//   velkmedia demo DIR    the demo clip: demo.avi (video with sound, 8 s) and demo.smi
//   velkmedia wav FILE MILLIS    a tone of that length
//   velkmedia clip DIR NAME FRAMES [MS TEXT]...
//                         NAME.avi (10 frames a second, no sound) and, when captions
//                         are given, NAME.smi with each TEXT due at MS
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/MediaGen.h"

using namespace velk::testmedia;

static int WriteClip(int argc, char** argv) {
  const std::string base = std::string(argv[2]) + "/" + argv[3];
  VideoSpec clip;
  clip.frames = std::atoi(argv[4]);
  std::vector<Caption> captions;
  for (int i = 5; i + 1 < argc; i += 2) captions.push_back({std::atoi(argv[i]), argv[i + 1]});
  bool ok = WriteFile(base + ".avi", MakeAvi(clip));
  if (ok && !captions.empty()) ok = WriteFile(base + ".smi", MakeSami(captions));
  if (!ok) {
    std::fprintf(stderr, "velkmedia: cannot write %s\n", base.c_str());
    return 1;
  }
  std::printf("%s.avi\n", base.c_str());
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "wav") == 0) {
    return WriteFile(argv[2], MakeWav(22050, 1, std::atoi(argv[3]), 440.0)) ? 0 : 1;
  }
  if (argc >= 5 && std::strcmp(argv[1], "clip") == 0) return WriteClip(argc, argv);
  if (argc < 3 || std::strcmp(argv[1], "demo") != 0) {
    std::fprintf(stderr, "usage: velkmedia demo DIR | wav FILE MILLIS | clip DIR NAME FRAMES [MS TEXT]...\n");
    return 2;
  }
  const std::string dir = argv[2];
  VideoSpec clip;
  clip.frames = 80;
  clip.withAudio = true;
  // Each caption stays a few seconds, long enough to watch it in every caption mode.
  std::vector<Caption> captions = {{0, "Velk plays this demo clip"},
                                   {3000, "Captions come from demo.smi<br>beside the clip"},
                                   {7000, "&nbsp;"}};
  bool ok = WriteFile(dir + "/demo.avi", MakeAvi(clip)) &&
            WriteFile(dir + "/demo.smi", MakeSami(captions));
  if (!ok) {
    std::fprintf(stderr, "velkmedia: cannot write into %s\n", dir.c_str());
    return 1;
  }
  std::printf("%s/demo.avi\n", dir.c_str());
  return 0;
}
