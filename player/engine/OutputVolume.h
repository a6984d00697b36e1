// The output volume of waveform device 0, as the main window's volume bar,
// buttons and keys use it: two 16-bit channel levels in one value (left low,
// right high).
//
// The classic device calls come first. Where they refuse a device id (Wine
// answers MMSYSERR_INVALHANDLE) the level of this process's audio session on
// the default output device is used instead, which is also what DirectShow's
// sound follows. A session has one level, so the louder channel sets it and the
// channel levels last set are what reading gives back while the session still
// has that level.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/framework/ComPtr.h"

// From <audiopolicy.h>, which cannot share a file with <dshow.h>.
struct ISimpleAudioVolume;

namespace velk {

class COutputVolume {
 public:
  COutputVolume();
  ~COutputVolume();
  COutputVolume(const COutputVolume&) = delete;
  COutputVolume& operator=(const COutputVolume&) = delete;

  // An output device exists and device 0 reports volume control. Every
  // operation below does nothing (false) otherwise.
  static bool IsAvailable();

  bool Get(uint32_t& volume);
  bool Set(uint32_t volume);

  // The volume buttons, keys and volume strip: true when the volume was set,
  // so the caller redraws the volume bar.
  bool Up();
  bool Down();
  // A click at x on the volume bar (client coordinates); ignored on a bar
  // without width.
  bool Click(const RECT& bar, int x);

 private:
  ISimpleAudioVolume* Session();

  ComPtr<ISimpleAudioVolume> session_;
  bool remembered_ = false;
  uint32_t levels_ = 0;      // the channel levels last set through the session
  float sessionLevel_ = 0;   // and the session level they gave
};

}  // namespace velk
