// What the resource tests share: the built Velk.exe, loaded as a data file for
// its resources once for each test suite that derives from PlayerModuleTest.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace velk::restest {

// A Unix path of the build as the Wine prefix sees it.
inline std::string WindowsPath(std::string p) {
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
  return "Z:" + p;
}

class PlayerModuleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = ::LoadLibraryExA(WindowsPath(VELK_EXE_UNIX).c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  static void TearDownTestSuite() {
    if (module_) ::FreeLibrary(module_);
    module_ = nullptr;
  }
  static inline HMODULE module_ = nullptr;
};

}  // namespace velk::restest
