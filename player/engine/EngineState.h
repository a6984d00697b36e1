// The playback engine's state as the rest of the player reads it. The values
// are the graph states the engine reports (0 stopped, 1 paused, 2 running);
// Absent is what a window without an engine sees.
#pragma once

#include <cstdint>

namespace velk {

enum class EngineState : int32_t { Stopped = 0, Paused = 1, Running = 2, Absent = 3 };

// A reported graph state; anything else counts as stopped, as a failed query does.
constexpr EngineState EngineStateOf(int32_t graphState) {
  return graphState == 1 ? EngineState::Paused : graphState == 2 ? EngineState::Running : EngineState::Stopped;
}

}  // namespace velk
