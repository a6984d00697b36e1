// The playback engine's state: the graph states it reports (0 stopped, also
// when closed or when the query fails; 1 paused; 2 running), and Absent for
// what a window without an engine sees.
#pragma once

#include <cstdint>

namespace velk {

enum class EngineState : int32_t { Stopped = 0, Paused = 1, Running = 2, Absent = 3 };

}  // namespace velk
