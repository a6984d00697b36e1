// The contract between the player and the caption overlay filter in Karvex.ax:
// the class and interface identifiers, ICaptionOverlay in slot order, the name
// the player gives the filter in its graphs and the module's file name.
#pragma once

#include <objbase.h>

// {1D972EE0-1C22-11D4-9594-525405E0A5F9}
EXTERN_C const GUID DECLSPEC_SELECTANY CLSID_Karvex = {
    0x1d972ee0, 0x1c22, 0x11d4, {0x95, 0x94, 0x52, 0x54, 0x05, 0xe0, 0xa5, 0xf9}};
// {1D972EE2-1C22-11D4-9594-525405E0A5F9}
EXTERN_C const GUID DECLSPEC_SELECTANY CLSID_CaptionInfoPage = {
    0x1d972ee2, 0x1c22, 0x11d4, {0x95, 0x94, 0x52, 0x54, 0x05, 0xe0, 0xa5, 0xf9}};
// {1D972EE3-1C22-11D4-9594-525405E0A5F9}
EXTERN_C const GUID DECLSPEC_SELECTANY IID_ICaptionOverlay = {
    0x1d972ee3, 0x1c22, 0x11d4, {0x95, 0x94, 0x52, 0x54, 0x05, 0xe0, 0xa5, 0xf9}};

// Slots 3 and 4 are kept for callers built against the first version of the
// interface; they do nothing. SetCaptionText copies the text before returning,
// takes at most 1256 bytes with the terminating zero, and an empty string
// removes the caption. It is called on the player's thread while the graph may
// be streaming.
struct ICaptionOverlay : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Reserved1(DWORD value) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved2(DWORD value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCaptionText(const char* text) = 0;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(ICaptionOverlay, 0x1d972ee3, 0x1c22, 0x11d4, 0x95, 0x94, 0x52, 0x54, 0x05, 0xe0, 0xa5, 0xf9)
#endif

// The name under which the player adds the filter to a graph.
#define KARVEX_FILTER_NAME L"Karvex"
// The module the player loads by name to register and unregister the filter.
#define KARVEX_MODULE_NAME "Karvex.ax"
// The longest caption the player passes, terminating zero included.
#define KARVEX_MAX_CAPTION_BYTES 1256
