// Stands in for the icon refresher ric.exe: appends one line to ric.log
// beside itself each time it is started, and ends.
#include <windows.h>

#include <string>

int main() {
  wchar_t self[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (n == 0 || n == MAX_PATH) return 1;
  std::wstring log(self, n);
  log = log.substr(0, log.find_last_of(L'\\') + 1) + L"ric.log";
  HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, "started\n", 8, &written, nullptr);
  CloseHandle(file);
  return 0;
}
