// A stand-in uninstaller for tests: writes the command line it was started
// with into the file named by its first argument.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) return 1;
  const char* line = ::GetCommandLineA();
  std::fwrite(line, 1, std::strlen(line), f);
  std::fclose(f);
  return 0;
}
