// Entry point of the Windows test programs: COM on this thread for the whole
// run, then GoogleTest.
#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::CoInitialize(nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  // The results are written. Wine's media threads may still be winding down
  // while the process's libraries detach, which can fault after every test
  // passed; the run ends here with its result instead.
  std::fflush(stdout);
  std::fflush(stderr);
  ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(rc));
  ::CoUninitialize();
  return rc;
}
