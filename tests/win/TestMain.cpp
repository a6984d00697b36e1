// Entry point of the Windows test programs: COM on this thread for the whole
// run, then GoogleTest.
#include <objbase.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::CoInitialize(nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  ::CoUninitialize();
  return rc;
}
