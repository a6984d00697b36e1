// Letting go of a closed graph without letting it hold the window.
//
// Releasing the last reference of a filter graph stops it first. Under Wine a
// graph whose parser is stuck (one that ran past its end, or one torn down
// while its stream thread sleeps) waits in that stop for good, and the thread
// that released it waits with it. So the last references go on a thread of
// their own; the caller waits a short while for them, which keeps the usual
// close (a few milliseconds) in order, and goes on without them otherwise.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

namespace velk {

// Where the code of the graph and of each of its filters lives (an address in
// each one's module). Taken while the caller still holds the graph.
std::vector<const void*> CodeOfGraph(IFilterGraph* graph);

// Releases each reference, in order, on a thread of its own and waits up to
// waitMs for that. True when they were all released in time. False when the
// release is still under way (it finishes, or ends with the process): the
// modules holding `code` then stay loaded for good, since the stuck thread
// will one day return into them and the apartment's end would unload them.
// With no thread to be had the references are released here.
bool ReleaseAside(std::vector<IUnknown*> references, const std::vector<const void*>& code, DWORD waitMs);

}  // namespace velk
