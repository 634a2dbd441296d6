// Opens the shell's own Properties window for one file, the way Explorer's
// context menu does (the item's IContextMenu, verb "properties"), and keeps
// it running while a driver outside clicks in it. A watcher thread writes
// where things are on the screen into files of a signal folder, one value
// set per file, written whole by a rename:
//   sheet.txt  left top right bottom of the Properties window
//   tab.txt    x y of the middle of the "Stamplets" tab
//   item.txt   x y of the middle of the "Important" entry's icon, once the
//              page is shown
//   texts.txt  the page's eleven entry texts, rewritten as they change
// The window is closed when the driver creates "close" in the folder, or
// after two minutes.
//   StamptabShellProbe <file> <signal folder>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

std::wstring g_signals;
DWORD g_process = 0;

void WriteSignal(const wchar_t* name, const std::wstring& text) {
  const std::wstring final_path = g_signals + L"\\" + name;
  const std::wstring temp_path = final_path + L".tmp";
  HANDLE file =
      CreateFileW(temp_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size() - 1), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(temp_path.c_str(), final_path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::wstring Point(const RECT& r, HWND from) {
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  MapWindowPoints(from, nullptr, &p, 1);
  return std::to_wstring(p.x) + L" " + std::to_wstring(p.y) + L"\n";
}

BOOL CALLBACK FindSheet(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (process == g_process && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// The page's list: the list view with eleven entries.
BOOL CALLBACK FindEntryList(HWND window, LPARAM found) {
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (lstrcmpiW(cls, L"SysListView32") == 0 && SendMessageW(window, LVM_GETITEMCOUNT, 0, 0) == 11) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

std::wstring EntryTexts(HWND list) {
  std::wstring all;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    all += std::wstring(text) + L"\n";
  }
  return all;
}

DWORD WINAPI Watch(void*) {
  const DWORD start = GetTickCount();
  auto expired = [&] { return GetTickCount() - start > 120000; };
  HWND sheet = nullptr;
  while (!sheet && !expired()) {
    EnumWindows(FindSheet, reinterpret_cast<LPARAM>(&sheet));
    if (!sheet) Sleep(100);
  }
  if (!sheet) return 1;
  Sleep(500);
  RECT frame{};
  GetWindowRect(sheet, &frame);
  WriteSignal(L"sheet.txt", std::to_wstring(frame.left) + L" " + std::to_wstring(frame.top) + L" " +
                                std::to_wstring(frame.right) + L" " +
                                std::to_wstring(frame.bottom) + L"\n");

  HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  int index = -1;
  const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count && index < 0; ++i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    if (lstrcmpW(text, L"Stamplets") == 0) index = i;
  }
  if (index < 0) {
    WriteSignal(L"error.txt", L"no Stamplets tab\n");
  } else {
    RECT tab{};
    SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&tab));
    WriteSignal(L"tab.txt", Point(tab, tabs));
    // The page may be made only when its tab is first chosen.
    HWND list = nullptr;
    while (!(list && IsWindowVisible(list)) && !expired()) {
      Sleep(100);
      EnumChildWindows(sheet, FindEntryList, reinterpret_cast<LPARAM>(&list));
    }
    if (!list) {
      WriteSignal(L"error.txt", L"no list of eleven entries\n");
    } else {
      RECT icon{LVIR_ICON, 0, 0, 0};
      SendMessageW(list, LVM_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&icon));
      WriteSignal(L"item.txt", Point(icon, list));
      std::wstring last;
      const std::wstring close = g_signals + L"\\close";
      while (GetFileAttributesW(close.c_str()) == INVALID_FILE_ATTRIBUTES && !expired()) {
        const std::wstring texts = EntryTexts(list);
        if (texts != last) WriteSignal(L"texts.txt", last = texts);
        Sleep(100);
      }
    }
  }
  PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: StamptabShellProbe <file> <signal folder>\n", stderr);
    return 2;
  }
  g_signals = argv[2];
  g_process = GetCurrentProcessId();
  OleInitialize(nullptr);

  PIDLIST_ABSOLUTE item = nullptr;
  if (FAILED(SHParseDisplayName(argv[1], nullptr, &item, 0, nullptr))) {
    std::fputs("cannot parse the file's name\n", stderr);
    return 1;
  }
  IShellFolder* parent = nullptr;
  PCUITEMID_CHILD child = nullptr;
  IContextMenu* menu = nullptr;
  HRESULT hr = SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void**>(&parent), &child);
  if (SUCCEEDED(hr))
    hr = parent->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr,
                               reinterpret_cast<void**>(&menu));
  if (FAILED(hr)) {
    std::fputs("no context menu for the file\n", stderr);
    return 1;
  }
  HANDLE watcher = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr);

  CMINVOKECOMMANDINFO invoke{};
  invoke.cbSize = sizeof(invoke);
  invoke.lpVerb = "properties";
  invoke.nShow = SW_SHOWNORMAL;
  hr = menu->InvokeCommand(&invoke);
  // Whether the window ran modally inside the call or not, keep its
  // messages flowing until the watcher is done with it.
  while (MsgWaitForMultipleObjects(1, &watcher, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  DWORD watched = 1;
  GetExitCodeThread(watcher, &watched);
  CloseHandle(watcher);
  menu->Release();
  parent->Release();
  CoTaskMemFree(item);
  OleUninitialize();
  if (FAILED(hr)) {
    std::fprintf(stderr, "InvokeCommand failed: 0x%08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  return static_cast<int>(watched);
}
