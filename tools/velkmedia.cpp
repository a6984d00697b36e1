// velkmedia: writes generated media.
//   velkmedia demo DIR    the demo clip: demo.avi (video with sound, 5 s) and demo.smi
//   velkmedia wav FILE MILLIS    a tone of that length
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/MediaGen.h"

using namespace velk::testmedia;

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "wav") == 0) {
    return WriteFile(argv[2], MakeWav(22050, 1, std::atoi(argv[3]), 440.0)) ? 0 : 1;
  }
  if (argc < 3 || std::strcmp(argv[1], "demo") != 0) {
    std::fprintf(stderr, "usage: velkmedia demo DIR | wav FILE MILLIS\n");
    return 2;
  }
  const std::string dir = argv[2];
  VideoSpec clip;
  clip.frames = 50;
  clip.withAudio = true;
  std::vector<Caption> captions = {{0, "Velk plays this demo clip"},
                                   {2000, "Captions come from demo.smi<br>beside the clip"},
                                   {4000, "&nbsp;"}};
  bool ok = WriteFile(dir + "/demo.avi", MakeAvi(clip)) &&
            WriteFile(dir + "/demo.smi", MakeSami(captions));
  if (!ok) {
    std::fprintf(stderr, "velkmedia: cannot write into %s\n", dir.c_str());
    return 1;
  }
  std::printf("%s/demo.avi\n", dir.c_str());
  return 0;
}
