// Writes COUNT distinct keys "PREFIX-i" to section "Files" of FILE, one
// TTntIniFile per write as the programs do. Used by the concurrency test.
#include <cstdio>
#include <string>

#include "TntIniFiles.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: IniWriter FILE PREFIX COUNT\n");
    return 2;
  }
  using namespace stamplets;
  const WideString path = Utf8ToWide(argv[1]);
  const WideString prefix = Utf8ToWide(argv[2]);
  const int count = std::stoi(argv[3]);
  try {
    for (int i = 0; i < count; ++i) {
      TTntIniFile ini(path);
      ini.WriteString(L"Files", prefix + L"-" + IntToWide(i), IntToWide(i % 10 + 1));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
