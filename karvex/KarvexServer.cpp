#include "karvex/KarvexServer.h"

#include "karvex/CaptionInfoPage.h"
#include "karvex/CaptionOverlayFilter.h"
#include "shared/CaptionOverlay.h"

namespace velk {

namespace {

const REGPINTYPES kVideoTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}};

const REGFILTERPINS kPins[] = {
    {const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kVideoTypes},
    {const_cast<LPWSTR>(L"Output"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kVideoTypes},
};

// Never picked by the graph on its own: the player adds the filter itself.
const dshow::FilterSetup kFilterSetup = {&CLSID_Karvex, L"Karvex", MERIT_DO_NOT_USE, 2, kPins};

const dshow::FactoryTemplate kClasses[] = {
    {L"Karvex", &CLSID_Karvex, CCaptionOverlayFilter::CreateInstance, &kFilterSetup},
    {L"Information CC", &CLSID_CaptionInfoPage, CCaptionInfoPage::CreateInstance, nullptr},
};

const dshow::ClassTable kTable = {kClasses, 2};

}  // namespace

const dshow::ClassTable& KarvexClasses() { return kTable; }

HRESULT KarvexRegister(HMODULE module, bool doRegister, dshow::CClassKeyStore& store) {
  return dshow::ServerRegister(kTable, module, doRegister, store);
}

}  // namespace velk
