// A DLL that a stand-in imports, built twice: the genuine copy lies beside
// the stand-in, the planted copy in the current folder. The log line says
// which one the loader took.
#include <windows.h>

extern "C" __declspec(dllexport) const char* DependencyOrigin() {
  return STANDIN_DEPENDENCY_ORIGIN;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
