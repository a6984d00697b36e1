#include "player/engine/PlaybackMath.h"

#include <cmath>
#include <limits>

namespace velk::engine {

uint32_t VolumeUp(uint32_t volume) {
  auto up = [](uint32_t level) {
    uint32_t sum = level + kVolumeStep;
    return sum >= kChannelFull ? kChannelFull : sum;
  };
  return PackVolume(up(LeftLevel(volume)), up(RightLevel(volume)));
}

uint32_t VolumeDown(uint32_t volume) {
  auto down = [](uint32_t level) { return level <= kVolumeStep ? 0u : level - kVolumeStep; };
  return PackVolume(down(LeftLevel(volume)), down(RightLevel(volume)));
}

std::optional<uint32_t> VolumeAtClick(int32_t left, int32_t right, int32_t x) {
  const int64_t width = int64_t{right} - left;
  if (width <= 0) return std::nullopt;
  const int64_t level = (int64_t{x} - left) * int64_t{kChannelFull} / width;
  const uint32_t low16 = static_cast<uint32_t>(level) & 0xFFFF;
  return PackVolume(low16, low16);
}

std::optional<int32_t> SeekTargetAtClick(int32_t left, int32_t right, int32_t x, int32_t duration) {
  const int64_t width = int64_t{right} - left;
  if (width <= 0 || duration < 0) return std::nullopt;
  // 64-bit: an hour-long item times a wide strip would overflow 32 bits.
  const int64_t target = (int64_t{x} - left) * duration / width;
  if (target > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (target < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(target);
}

bool HasRunPastEnd(double position, double duration, double graceSeconds) {
  // NaN compares false everywhere, so an unknown length or position never counts.
  return duration > 0 && position > duration + graceSeconds;
}

int32_t WholeSeconds(double seconds) {
  if (std::isnan(seconds)) return -1;
  constexpr double kMax = static_cast<double>(std::numeric_limits<int32_t>::max());
  constexpr double kMin = static_cast<double>(std::numeric_limits<int32_t>::min());
  if (seconds >= kMax) return std::numeric_limits<int32_t>::max();
  if (seconds <= kMin) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(seconds);  // truncates toward zero
}

}  // namespace velk::engine
