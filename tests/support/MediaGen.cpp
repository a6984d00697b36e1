#include "tests/support/MediaGen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace velk::testmedia {

namespace {

// Little-endian RIFF writer with nested chunks.
class Riff {
 public:
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void U16(uint16_t v) {
    out_.push_back(static_cast<uint8_t>(v));
    out_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void Tag(const char* fourcc) { out_.insert(out_.end(), fourcc, fourcc + 4); }
  void Raw(const uint8_t* p, size_t n) { out_.insert(out_.end(), p, p + n); }
  // Opens a chunk (or a RIFF/LIST with its form type); returns its size slot.
  size_t Open(const char* id, const char* form = nullptr) {
    Tag(id);
    size_t slot = out_.size();
    U32(0);
    if (form) Tag(form);
    return slot;
  }
  void Close(size_t slot) {
    uint32_t size = static_cast<uint32_t>(out_.size() - slot - 4);
    std::memcpy(&out_[slot], &size, 4);  // x86 and the target are little-endian
    if (size & 1) out_.push_back(0);
  }
  size_t Pos() const { return out_.size(); }
  Bytes& Data() { return out_; }

 private:
  Bytes out_;
};

int16_t ToneSample(long i, int rate, double hz) {
  return static_cast<int16_t>(std::lround(8000.0 * std::sin(2.0 * 3.14159265358979 * hz * i / rate)));
}

}  // namespace

void DrawFrame(int n, int width, int height, uint8_t* bgr) {
  const int barX = (n * 8) % (width > 0 ? width : 1);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bgr + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      uint8_t b = 96, g = 32, r = 16;
      if (x >= barX && x < barX + 16) {
        b = 40, g = 220, r = 240;
      } else if (y < 12) {
        uint8_t step = static_cast<uint8_t>(((x / 16 + n) % 8) * 32);
        b = g = r = step;
      }
      row[x * 3] = b;
      row[x * 3 + 1] = g;
      row[x * 3 + 2] = r;
    }
  }
}

Bytes MakeAvi(const VideoSpec& s) {
  const uint32_t rowBytes = static_cast<uint32_t>((s.width * 3 + 3) & ~3);
  const uint32_t frameBytes = rowBytes * static_cast<uint32_t>(s.height);
  const uint32_t usPerFrame = static_cast<uint32_t>(1000000 / s.fps);
  const uint32_t samplesPerFrame = static_cast<uint32_t>(s.sampleRate / s.fps);
  const uint32_t audioBytes = samplesPerFrame * 2;
  const uint32_t streams = s.withAudio ? 2 : 1;

  Riff w;
  size_t riff = w.Open("RIFF", "AVI ");
  size_t hdrl = w.Open("LIST", "hdrl");
  size_t avih = w.Open("avih");
  w.U32(usPerFrame);
  w.U32(frameBytes * s.fps + (s.withAudio ? audioBytes * s.fps : 0));  // max bytes per second
  w.U32(0);                                                            // padding granularity
  w.U32(0x10);                                                         // AVIF_HASINDEX
  w.U32(static_cast<uint32_t>(s.frames));
  w.U32(0);  // initial frames
  w.U32(streams);
  w.U32(frameBytes);  // suggested buffer
  w.U32(static_cast<uint32_t>(s.width));
  w.U32(static_cast<uint32_t>(s.height));
  for (int i = 0; i < 4; ++i) w.U32(0);
  w.Close(avih);

  size_t strl = w.Open("LIST", "strl");
  size_t strh = w.Open("strh");
  w.Tag("vids");
  w.U32(0);  // handler: uncompressed
  w.U32(0);  // flags
  w.U16(0);  // priority
  w.U16(0);  // language
  w.U32(0);  // initial frames
  w.U32(1);  // scale
  w.U32(static_cast<uint32_t>(s.fps));  // rate
  w.U32(0);                             // start
  w.U32(static_cast<uint32_t>(s.frames));
  w.U32(frameBytes);
  w.U32(0xFFFFFFFF);  // quality
  w.U32(0);           // sample size
  w.U16(0);
  w.U16(0);
  w.U16(static_cast<uint16_t>(s.width));
  w.U16(static_cast<uint16_t>(s.height));
  w.Close(strh);
  size_t strf = w.Open("strf");
  w.U32(40);
  w.U32(static_cast<uint32_t>(s.width));
  w.U32(static_cast<uint32_t>(s.height));  // bottom-up
  w.U16(1);
  w.U16(24);
  w.U32(0);  // BI_RGB
  w.U32(frameBytes);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.Close(strf);
  w.Close(strl);

  if (s.withAudio) {
    size_t astrl = w.Open("LIST", "strl");
    size_t ah = w.Open("strh");
    w.Tag("auds");
    w.U32(0);
    w.U32(0);
    w.U16(0);
    w.U16(0);
    w.U32(0);
    w.U32(1);                                    // scale
    w.U32(static_cast<uint32_t>(s.sampleRate));  // rate: samples per second
    w.U32(0);
    w.U32(samplesPerFrame * static_cast<uint32_t>(s.frames));
    w.U32(audioBytes);
    w.U32(0xFFFFFFFF);
    w.U32(2);  // sample size: one 16-bit mono sample
    w.U16(0);
    w.U16(0);
    w.U16(0);
    w.U16(0);
    w.Close(ah);
    size_t af = w.Open("strf");
    w.U16(1);  // PCM
    w.U16(1);
    w.U32(static_cast<uint32_t>(s.sampleRate));
    w.U32(static_cast<uint32_t>(s.sampleRate) * 2);
    w.U16(2);
    w.U16(16);
    w.U16(0);
    w.Close(af);
    w.Close(astrl);
  }
  w.Close(hdrl);

  struct IndexEntry {
    const char* id;
    uint32_t offset;
    uint32_t size;
  };
  std::vector<IndexEntry> index;
  size_t movi = w.Open("LIST", "movi");
  const size_t moviData = movi + 4;  // index offsets count from the "movi" tag
  std::vector<uint8_t> topDown(static_cast<size_t>(s.width) * s.height * 3);
  std::vector<uint8_t> frame(frameBytes);
  std::vector<uint8_t> audio(audioBytes);
  long sample = 0;
  for (int n = 0; n < s.frames; ++n) {
    DrawFrame(n, s.width, s.height, topDown.data());
    for (int y = 0; y < s.height; ++y) {
      std::memcpy(&frame[static_cast<size_t>(s.height - 1 - y) * rowBytes],
                  &topDown[static_cast<size_t>(y) * s.width * 3], static_cast<size_t>(s.width) * 3);
    }
    index.push_back({"00db", static_cast<uint32_t>(w.Pos() - moviData), frameBytes});
    size_t c = w.Open("00db");
    w.Raw(frame.data(), frame.size());
    w.Close(c);
    if (s.withAudio) {
      for (uint32_t i = 0; i < samplesPerFrame; ++i) {
        int16_t v = ToneSample(sample++, s.sampleRate, 440.0);
        audio[i * 2] = static_cast<uint8_t>(v);
        audio[i * 2 + 1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
      }
      index.push_back({"01wb", static_cast<uint32_t>(w.Pos() - moviData), audioBytes});
      size_t a = w.Open("01wb");
      w.Raw(audio.data(), audio.size());
      w.Close(a);
    }
  }
  w.Close(movi);
  size_t idx1 = w.Open("idx1");
  for (const auto& e : index) {
    w.Tag(e.id);
    w.U32(0x10);  // AVIIF_KEYFRAME
    w.U32(e.offset);
    w.U32(e.size);
  }
  w.Close(idx1);
  w.Close(riff);
  return std::move(w.Data());
}

Bytes MakeWav(int sampleRate, int channels, int millis, double hz) {
  const uint32_t frames = static_cast<uint32_t>(static_cast<long long>(sampleRate) * millis / 1000);
  Riff w;
  size_t riff = w.Open("RIFF", "WAVE");
  size_t fmt = w.Open("fmt ");
  w.U16(1);
  w.U16(static_cast<uint16_t>(channels));
  w.U32(static_cast<uint32_t>(sampleRate));
  w.U32(static_cast<uint32_t>(sampleRate * channels * 2));
  w.U16(static_cast<uint16_t>(channels * 2));
  w.U16(16);
  w.Close(fmt);
  size_t data = w.Open("data");
  for (uint32_t i = 0; i < frames; ++i) {
    int16_t v = ToneSample(static_cast<long>(i), sampleRate, hz);
    for (int c = 0; c < channels; ++c) w.U16(static_cast<uint16_t>(v));
  }
  w.Close(data);
  w.Close(riff);
  return std::move(w.Data());
}

std::string MakeSami(const std::vector<Caption>& captions) {
  return MakeSami(std::vector<CaptionTrack>{{"ENCC", "English", "en-US", captions}});
}

std::string MakeSami(const std::vector<CaptionTrack>& tracks) {
  std::string s =
      "<SAMI>\r\n<HEAD>\r\n<TITLE>Velk test captions</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
      "P { font-family: Arial; font-size: 14pt; color: white; }\r\n";
  for (const auto& t : tracks) s += "." + t.cls + " { Name: " + t.name + "; lang: " + t.lang + "; }\r\n";
  s += "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
  struct Line {
    int startMs;
    const CaptionTrack* track;
    const std::string* text;
  };
  std::vector<Line> lines;
  for (const auto& t : tracks) {
    for (const auto& c : t.captions) lines.push_back({c.startMs, &t, &c.text});
  }
  std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.startMs < b.startMs; });
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == 0 || lines[i].startMs != lines[i - 1].startMs) {
      s += "<SYNC Start=" + std::to_string(lines[i].startMs) + ">\r\n";
    }
    s += "  <P Class=" + lines[i].track->cls + ">" + *lines[i].text + "\r\n";
  }
  s += "</BODY>\r\n</SAMI>\r\n";
  return s;
}

std::vector<Caption> DefaultCaptions() {
  return {{0, "First caption"}, {1000, "Second line<br>with a break"}, {2000, "&nbsp;"}};
}

bool WriteFile(const std::string& path, const Bytes& data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

bool WriteFile(const std::string& path, const std::string& text) {
  return WriteFile(path, Bytes(text.begin(), text.end()));
}

}  // namespace velk::testmedia
