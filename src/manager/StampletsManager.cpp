// The process entry: the main window on the program's own folder, and the
// message loop until it closes.
#include <windows.h>
#include <shellapi.h>

#include "Installation.h"
#include "Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace stamplets;
  std::vector<WideString> arguments;
  int count = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i)
      arguments.emplace_back(argv[i]);
    LocalFree(argv);
  }
  try {
    manager::TForm1 form(win::ProgramFolder(), std::move(arguments));
    form.on_closed = [] { PostQuitMessage(0); };
    form.Show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (IsDialogMessageW(form.Handle(), &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  } catch (const std::exception& e) {
    MessageBoxW(nullptr, Utf8ToWide(e.what()).c_str(), L"Stamplets Manager", MB_OK | MB_ICONERROR);
    return 1;
  }
  return 0;
}
