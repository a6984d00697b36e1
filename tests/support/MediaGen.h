// Small deterministic test media written from scratch: uncompressed AVI video
// with a moving pattern (optionally with a PCM sound track), PCM WAV tones and
// SAMI caption files. Nothing binary is kept in the tree; tests and the demo
// clip are made from these at run time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velk::testmedia {

using Bytes = std::vector<uint8_t>;

struct VideoSpec {
  int width = 320;
  int height = 240;
  int fps = 10;
  int frames = 30;          // 3 s at 10 fps
  bool withAudio = false;   // a 440 Hz tone track, interleaved per frame
  int sampleRate = 22050;   // 16-bit mono
};

// The picture of frame n, 24-bit BGR rows top-down (stride = width * 3): a dark
// blue field with a bright vertical bar that moves right by 8 pixels a frame,
// and a frame counter band of grey steps at the top.
void DrawFrame(int n, int width, int height, uint8_t* bgrTopDown);

Bytes MakeAvi(const VideoSpec& clip);
// 16-bit PCM, a sine tone at `hz`.
Bytes MakeWav(int sampleRate, int channels, int millis, double hz);

struct Caption {
  int startMs;
  std::string text;  // the paragraph's content as written ("&nbsp;" for an empty caption)
};
// A SAMI document with one SYNC block per caption, English class "ENCC".
std::string MakeSami(const std::vector<Caption>& captions);

// One language of a SAMI document: its class, declared in the head with its
// name and language code, and its own captions.
struct CaptionTrack {
  std::string cls;  // "KRCC"
  std::string name;
  std::string lang;
  std::vector<Caption> captions;
};
// A SAMI document with the tracks' classes declared in their order and a SYNC
// block per start time, holding a paragraph of each track that starts then.
std::string MakeSami(const std::vector<CaptionTrack>& tracks);
// Three captions over a 3 s clip, the last one empty.
std::vector<Caption> DefaultCaptions();

bool WriteFile(const std::string& path, const Bytes& data);
bool WriteFile(const std::string& path, const std::string& text);

}  // namespace velk::testmedia
