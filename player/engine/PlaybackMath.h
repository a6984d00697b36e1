// Seek, volume and time arithmetic of the transport, free of any window system.
// A volume value packs two 16-bit channel levels: left in the low half, right in
// the high half, each 0 (silent) to 0xFFFF (full).
#pragma once

#include <cstdint>
#include <optional>

namespace velk::engine {

inline constexpr uint32_t kVolumeStep = 2048;
inline constexpr uint32_t kChannelFull = 0xFFFF;

constexpr uint32_t PackVolume(uint32_t left, uint32_t right) {
  return (left & 0xFFFF) | ((right & 0xFFFF) << 16);
}
constexpr uint32_t LeftLevel(uint32_t volume) { return volume & 0xFFFF; }
constexpr uint32_t RightLevel(uint32_t volume) { return volume >> 16; }

// Each channel up by one step, stopping at full.
uint32_t VolumeUp(uint32_t volume);
// Each channel down by one step, stopping at silence.
uint32_t VolumeDown(uint32_t volume);

// The level for a click at x on a volume bar spanning [left, right): the same
// level in both channels, scaled so that the left end is silence. Nothing for a
// bar without width.
std::optional<uint32_t> VolumeAtClick(int32_t left, int32_t right, int32_t x);

// The position (whole seconds) for a click at x on a seek track spanning
// [left, right) over an item of `duration` seconds; truncates toward zero.
// Nothing for a track without width or an item whose length is unknown (< 0).
std::optional<int32_t> SeekTargetAtClick(int32_t left, int32_t right, int32_t x, int32_t duration);

// Whether a running item has gone past its end without the graph saying so:
// its position (seconds) lies more than `graceSeconds` beyond a known, positive
// duration. Some decoders under Wine never complete after a seek near the end,
// and the clock then runs on for good.
bool HasRunPastEnd(double position, double duration, double graceSeconds);

// A position of the graph (seconds) in whole seconds, truncated toward zero;
// -1 (not available) for NaN, and saturated at the ends of the 32-bit range.
int32_t WholeSeconds(double seconds);

}  // namespace velk::engine
