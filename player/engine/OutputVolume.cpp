#include "player/engine/OutputVolume.h"

#include <audiopolicy.h>
#include <mmdeviceapi.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>

#include "player/engine/PlaybackMath.h"

namespace velk {

namespace {

// Device 0 given where the calls take a handle, as the classic API allows.
HWAVEOUT Device0() { return reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(0)); }

}  // namespace

COutputVolume::COutputVolume() = default;
COutputVolume::~COutputVolume() = default;

bool COutputVolume::IsAvailable() {
  if (::waveOutGetNumDevs() == 0) return false;
  WAVEOUTCAPSA caps{};
  if (::waveOutGetDevCapsA(0, &caps, sizeof(caps)) != MMSYSERR_NOERROR) return false;
  return (caps.dwSupport & WAVECAPS_VOLUME) != 0;
}

ISimpleAudioVolume* COutputVolume::Session() {
  if (session_) return session_.Get();
  ComPtr<IMMDeviceEnumerator> devices;
  if (FAILED(::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IMMDeviceEnumerator), devices.ReceiveVoid()))) {
    return nullptr;
  }
  ComPtr<IMMDevice> device;
  if (FAILED(devices->GetDefaultAudioEndpoint(eRender, eConsole, device.Receive()))) return nullptr;
  ComPtr<IAudioSessionManager> sessions;
  if (FAILED(device->Activate(__uuidof(IAudioSessionManager), CLSCTX_INPROC_SERVER, nullptr,
                              sessions.ReceiveVoid()))) {
    return nullptr;
  }
  // The process's default session: the one DirectShow's sound plays in.
  if (FAILED(sessions->GetSimpleAudioVolume(nullptr, FALSE, session_.Receive()))) {
    session_.Reset();
  }
  return session_.Get();
}

bool COutputVolume::Get(uint32_t& volume) {
  if (!IsAvailable()) return false;
  DWORD value = 0;
  if (::waveOutGetVolume(Device0(), &value) == MMSYSERR_NOERROR) {
    volume = value;
    return true;
  }
  ISimpleAudioVolume* session = Session();
  float level = 0;
  if (!session || FAILED(session->GetMasterVolume(&level))) return false;
  if (remembered_ && std::fabs(level - sessionLevel_) < 1e-6f) {
    volume = levels_;
  } else {
    const uint32_t channel = static_cast<uint32_t>(std::lround(std::clamp(level, 0.0f, 1.0f) * 65535.0f));
    volume = engine::PackVolume(channel, channel);
  }
  return true;
}

bool COutputVolume::Set(uint32_t volume) {
  if (!IsAvailable()) return false;
  if (::waveOutSetVolume(Device0(), volume) == MMSYSERR_NOERROR) return true;
  ISimpleAudioVolume* session = Session();
  if (!session) return false;
  const float level =
      static_cast<float>(std::max(engine::LeftLevel(volume), engine::RightLevel(volume))) / 65535.0f;
  if (FAILED(session->SetMasterVolume(level, nullptr))) return false;
  remembered_ = true;
  levels_ = volume;
  sessionLevel_ = level;
  return true;
}

bool COutputVolume::Up() {
  uint32_t volume = 0;
  return Get(volume) && Set(engine::VolumeUp(volume));
}

bool COutputVolume::Down() {
  uint32_t volume = 0;
  return Get(volume) && Set(engine::VolumeDown(volume));
}

bool COutputVolume::Click(const RECT& bar, int x) {
  const auto volume = engine::VolumeAtClick(bar.left, bar.right, x);
  return volume && Set(*volume);
}

}  // namespace velk
