// Karvex.ax through its exports: the class factory's answers, unloading,
// registration in the real registry and filter mapper, the per-user
// fallback, and the property page.
#include <gtest/gtest.h>

#include "KarvexTestUtil.h"
#include "karvex/KarvexServer.h"
#include "shared/CaptionOverlay.h"

using karvextest::CKarvexModule;
using karvextest::GuidString;
using karvextest::KeyExists;
using karvextest::ReadString;
using velk::ComPtr;

namespace {

const std::string kFilterKey = "CLSID\\" + GuidString(CLSID_Karvex);
const std::string kPageKey = "CLSID\\" + GuidString(CLSID_CaptionInfoPage);
const std::string kUserFilterKey = "Software\\Classes\\" + kFilterKey;
const std::string kUserPageKey = "Software\\Classes\\" + kPageKey;
const std::string kMapperKey = "CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\" +
                               GuidString(CLSID_Karvex);

// An outer object for aggregation: only its identity matters here.
class COuter : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

TEST(KarvexModule, ClassObjectOnlyForOurClassesAndFactoryInterfaces) {
  CKarvexModule module;
  ASSERT_TRUE(module.Loaded());
  struct Row {
    const GUID* clsid;
    const GUID* iid;
    HRESULT expected;
  } rows[] = {
      {&CLSID_Karvex, &IID_IClassFactory, S_OK},
      {&CLSID_Karvex, &IID_IUnknown, S_OK},
      {&CLSID_CaptionInfoPage, &IID_IClassFactory, S_OK},
      {&CLSID_Karvex, &IID_IBaseFilter, E_NOINTERFACE},
      {&IID_ICaptionOverlay, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
      {&CLSID_FilterGraph, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
  };
  for (const Row& row : rows) {
    ComPtr<IUnknown> object;
    EXPECT_EQ(row.expected, module.GetClassObject(*row.clsid, *row.iid, object.ReceiveVoid()))
        << GuidString(*row.clsid) << " " << GuidString(*row.iid);
    EXPECT_EQ(row.expected == S_OK, static_cast<bool>(object));
  }
}

TEST(KarvexModule, FactoryCreateInstanceResults) {
  CKarvexModule module;
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, module.GetClassObject(CLSID_Karvex, IID_IClassFactory, factory.ReceiveVoid()));

  EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IBaseFilter, nullptr));

  COuter outer;
  ComPtr<IUnknown> object;
  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(&outer, IID_IBaseFilter, object.ReceiveVoid()));
  EXPECT_FALSE(object);

  // Aggregated: the inner unknown answers for itself, its interfaces for the outer.
  ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, object.ReceiveVoid()));
  ComPtr<ICaptionOverlay> overlay;
  ASSERT_EQ(S_OK, object->QueryInterface(IID_ICaptionOverlay, overlay.ReceiveVoid()));
  ComPtr<IUnknown> identity;
  ASSERT_EQ(S_OK, overlay->QueryInterface(IID_IUnknown, identity.ReceiveVoid()));
  EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.Get());
  identity.Reset();
  overlay.Reset();
  object.Reset();

  ComPtr<IBaseFilter> filter;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IBaseFilter, filter.ReceiveVoid()));
  CLSID clsid = {};
  EXPECT_EQ(S_OK, filter->GetClassID(&clsid));
  EXPECT_EQ(CLSID_Karvex, clsid);
}

TEST(KarvexModule, CanUnloadOnlyWithoutObjectsAndLocks) {
  CKarvexModule module;
  ASSERT_EQ(S_OK, module.CanUnloadNow());
  {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, module.GetClassObject(CLSID_Karvex, IID_IClassFactory, factory.ReceiveVoid()));
    EXPECT_EQ(S_FALSE, module.CanUnloadNow()) << "a live factory";
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IBaseFilter, filter.ReceiveVoid()));
    // Pins and enumerators belong to the filter and count with it.
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(S_OK, filter->EnumPins(pins.Receive()));
    factory->LockServer(TRUE);
    factory.Reset();
    pins.Reset();
    EXPECT_EQ(S_FALSE, module.CanUnloadNow()) << "a live filter and a lock";
    filter.Reset();
    EXPECT_EQ(S_FALSE, module.CanUnloadNow()) << "a lock";
    ASSERT_EQ(S_OK, module.GetClassObject(CLSID_Karvex, IID_IClassFactory, factory.ReceiveVoid()));
    factory->LockServer(FALSE);
  }
  EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST(KarvexModule, RegistrationWritesClassesAndOneMapperEntryAndUnregistersCleanly) {
  CKarvexModule module;
  ASSERT_TRUE(module.Loaded());
  // Twice: the second run replaces the first.
  ASSERT_EQ(S_OK, module.Register());
  ASSERT_EQ(S_OK, module.Register());

  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(module.Handle(), path, MAX_PATH);
  EXPECT_EQ("Karvex", ReadString(HKEY_CLASSES_ROOT, kFilterKey, nullptr));
  EXPECT_EQ(path, ReadString(HKEY_CLASSES_ROOT, kFilterKey + "\\InprocServer32", nullptr));
  EXPECT_EQ("Both", ReadString(HKEY_CLASSES_ROOT, kFilterKey + "\\InprocServer32", "ThreadingModel"));
  EXPECT_EQ("Information CC", ReadString(HKEY_CLASSES_ROOT, kPageKey, nullptr));
  EXPECT_EQ(path, ReadString(HKEY_CLASSES_ROOT, kPageKey + "\\InprocServer32", nullptr));
  EXPECT_EQ("Both", ReadString(HKEY_CLASSES_ROOT, kPageKey + "\\InprocServer32", "ThreadingModel"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kMapperKey));
  EXPECT_EQ(1, karvextest::MapperEntries(CLSID_Karvex));

  // COM now finds the filter on its own.
  ComPtr<IBaseFilter> filter;
  EXPECT_EQ(S_OK, ::CoCreateInstance(CLSID_Karvex, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                     filter.ReceiveVoid()));
  filter.Reset();

  EXPECT_EQ(S_OK, module.Unregister());
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kFilterKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kPageKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kMapperKey));
  EXPECT_EQ(0, karvextest::MapperEntries(CLSID_Karvex));
  // Nothing left to remove is no failure.
  EXPECT_EQ(S_OK, module.Unregister());
}

// The machine-wide classes refused as for a user without rights.
class CNoMachineRights : public velk::dshow::CClassKeyStore {
 public:
  LONG SetValue(HKEY root, const wchar_t* path, const wchar_t* name, const wchar_t* value) override {
    if (root == HKEY_CLASSES_ROOT || root == HKEY_LOCAL_MACHINE) return ERROR_ACCESS_DENIED;
    return CClassKeyStore::SetValue(root, path, name, value);
  }
  LONG DeleteTree(HKEY root, const wchar_t* path) override {
    if (root == HKEY_CLASSES_ROOT || root == HKEY_LOCAL_MACHINE) return ERROR_ACCESS_DENIED;
    return CClassKeyStore::DeleteTree(root, path);
  }
};

TEST(KarvexModule, WithoutMachineRightsClassesGoToTheCurrentUser) {
  CNoMachineRights store;
  HMODULE self = ::GetModuleHandleA(nullptr);
  ASSERT_EQ(S_OK, velk::KarvexRegister(self, true, store));

  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(self, path, MAX_PATH);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kFilterKey));
  EXPECT_EQ("Karvex", ReadString(HKEY_CURRENT_USER, kUserFilterKey, nullptr));
  EXPECT_EQ(path, ReadString(HKEY_CURRENT_USER, kUserFilterKey + "\\InprocServer32", nullptr));
  EXPECT_EQ("Both", ReadString(HKEY_CURRENT_USER, kUserFilterKey + "\\InprocServer32", "ThreadingModel"));
  EXPECT_EQ("Information CC", ReadString(HKEY_CURRENT_USER, kUserPageKey, nullptr));

  EXPECT_EQ(S_OK, velk::KarvexRegister(self, false, store));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserFilterKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserPageKey));
  EXPECT_EQ(0, karvextest::MapperEntries(CLSID_Karvex));
}

TEST(KarvexModule, UnregisteringWithoutRightsFailsWhileMachineClassesRemain) {
  velk::dshow::CClassKeyStore registry;
  HMODULE self = ::GetModuleHandleA(nullptr);
  ASSERT_EQ(S_OK, velk::KarvexRegister(self, true, registry));
  CNoMachineRights store;
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), velk::KarvexRegister(self, false, store));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kFilterKey));
  EXPECT_EQ(S_OK, velk::KarvexRegister(self, false, registry));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kFilterKey));
}

TEST(KarvexModule, InfoPageShowsNothingAndAppliesNothing) {
  CKarvexModule module;
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, module.GetClassObject(CLSID_CaptionInfoPage, IID_IClassFactory, factory.ReceiveVoid()));
  ComPtr<IPropertyPage> page;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IPropertyPage, page.ReceiveVoid()));

  PROPPAGEINFO info = {};
  ASSERT_EQ(S_OK, page->GetPageInfo(&info));
  ASSERT_NE(nullptr, info.pszTitle);
  EXPECT_STREQ(L"Info CC", info.pszTitle);
  EXPECT_GT(info.size.cx, 0);
  EXPECT_GT(info.size.cy, 0);
  ::CoTaskMemFree(info.pszTitle);

  ComPtr<IBaseFilter> filter;
  ComPtr<IClassFactory> filterFactory;
  ASSERT_EQ(S_OK, module.GetClassObject(CLSID_Karvex, IID_IClassFactory, filterFactory.ReceiveVoid()));
  ASSERT_EQ(S_OK, filterFactory->CreateInstance(nullptr, IID_IBaseFilter, filter.ReceiveVoid()));
  IUnknown* objects[] = {filter.Get()};
  ASSERT_EQ(S_OK, page->SetObjects(1, objects));

  HWND parent = ::CreateWindowA("STATIC", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(nullptr, parent);
  RECT area = {0, 0, 300, 200};
  ASSERT_EQ(S_OK, page->Activate(parent, &area, TRUE));
  HWND dialog = ::GetWindow(parent, GW_CHILD);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(nullptr, ::GetWindow(dialog, GW_CHILD)) << "the page has no controls";
  EXPECT_TRUE(::GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD);
  // Commands are swallowed; nothing becomes dirty.
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(::IsWindow(dialog));
  EXPECT_EQ(S_FALSE, page->IsPageDirty());
  EXPECT_EQ(S_OK, page->Apply());
  EXPECT_EQ(S_OK, page->Deactivate());
  EXPECT_EQ(S_OK, page->SetObjects(0, nullptr));
  ::DestroyWindow(parent);
}

}  // namespace
