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

#include <vector>

#include "platform/framework/ComPtr.h"

namespace velk {

// Releases each reference, in order, on a thread of its own and waits up to
// waitMs for that, answering what other threads send to this one meanwhile.
// True when they were all released in time. False when the release is still
// under way (it finishes, or ends with the process): the modules holding the
// objects' code then stay loaded for good, since the stuck thread will one
// day return into them and the apartment's end would unload them. (Their
// filters are not listed for this: Wine's filter list of a graph that failed
// to build can hold an empty entry, which its enumerator reads.) With no
// thread to be had the references are released here.
bool ReleaseAside(std::vector<ComPtr<IUnknown>> references, DWORD waitMs);

}  // namespace velk
