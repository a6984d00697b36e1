// playprobe FILE: plays FILE in a filter graph of the system's own making
// (RenderFile, Run, wait for the end) and prints its duration against the time
// the graph took to finish it. None of the player's code takes part, so what
// it shows belongs to the system's DirectShow.
#include <windows.h>

#include <dshow.h>

#include <cstdio>
#include <string>

// Each filter of the graph, and for each output pin the filter it feeds.
void PrintGraph(IGraphBuilder* graph) {
  IEnumFilters* filters = nullptr;
  if (FAILED(graph->EnumFilters(&filters))) return;
  IBaseFilter* filter = nullptr;
  while (filters->Next(1, &filter, nullptr) == S_OK) {
    FILTER_INFO info = {};
    filter->QueryFilterInfo(&info);
    if (info.pGraph) info.pGraph->Release();
    std::printf("%ls\n", info.achName);
    IEnumPins* pins = nullptr;
    IPin* pin = nullptr;
    if (SUCCEEDED(filter->EnumPins(&pins))) {
      while (pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_INFO mine = {}, theirs = {};
        IPin* peer = nullptr;
        pin->QueryPinInfo(&mine);
        if (mine.pFilter) mine.pFilter->Release();
        if (mine.dir == PINDIR_OUTPUT) {
          FILTER_INFO next = {};
          if (SUCCEEDED(pin->ConnectedTo(&peer)) && peer) {
            peer->QueryPinInfo(&theirs);
            if (theirs.pFilter) {
              theirs.pFilter->QueryFilterInfo(&next);
              if (next.pGraph) next.pGraph->Release();
              theirs.pFilter->Release();
            }
            peer->Release();
          }
          std::printf("  %ls -> %ls\n", mine.achName, peer ? next.achName : L"(not connected)");
        }
        pin->Release();
      }
      pins->Release();
    }
    filter->Release();
  }
  filters->Release();
}

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: playprobe FILE\n");
    return 2;
  }
  ::CoInitialize(nullptr);
  IGraphBuilder* graph = nullptr;
  IMediaControl* control = nullptr;
  IMediaEvent* events = nullptr;
  IMediaPosition* position = nullptr;
  int rc = 1;
  HRESULT hr = ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(&graph));
  if (SUCCEEDED(hr)) hr = graph->RenderFile(argv[1], nullptr);
  if (SUCCEEDED(hr)) {
    std::printf("RenderFile: 0x%08lX\n", static_cast<unsigned long>(hr));
    PrintGraph(graph);
  }
  if (SUCCEEDED(hr)) hr = graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
  if (SUCCEEDED(hr)) hr = graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events));
  if (SUCCEEDED(hr)) hr = graph->QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(&position));
  if (SUCCEEDED(hr)) {
    REFTIME duration = 0;
    position->get_Duration(&duration);
    const DWORD started = ::GetTickCount();
    hr = control->Run();
    long code = 0;
    if (SUCCEEDED(hr)) hr = events->WaitForCompletion(static_cast<long>(duration * 3000) + 10000, &code);
    const double took = (::GetTickCount() - started) / 1000.0;
    std::printf("duration %.2f s, ended after %.2f s (%s), ratio %.2f\n", duration, took,
                code == EC_COMPLETE ? "EC_COMPLETE" : "no end", took > 0 ? duration / took : 0.0);
    control->Stop();
    rc = code == EC_COMPLETE ? 0 : 1;
  }
  if (FAILED(hr)) std::fprintf(stderr, "failed: 0x%08lX\n", static_cast<unsigned long>(hr));
  if (position) position->Release();
  if (events) events->Release();
  if (control) control->Release();
  if (graph) graph->Release();
  ::CoUninitialize();
  return rc;
}
