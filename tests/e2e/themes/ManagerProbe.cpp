// Reports where things are in the running Stamplets Manager, for a script
// that drives it with xdotool: the window's screen rectangle, the screen
// point of a client-area position, and the items of every list box in it.
//   ManagerProbe <client x> <client y>
// prints "window L T R B", "point X Y" and one "item <list> <index> <text>"
// line per list item (UTF-8).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& s) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

BOOL CALLBACK CollectLists(HWND child, LPARAM data) {
  wchar_t cls[64];
  GetClassNameW(child, cls, 64);
  if (_wcsicmp(cls, L"ListBox") == 0) reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  HWND window = FindWindowW(nullptr, L"Stamplets Manager");
  if (!window) return 1;
  RECT r;
  GetWindowRect(window, &r);
  std::printf("window %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  POINT p{_wtoi(argv[1]), _wtoi(argv[2])};
  ClientToScreen(window, &p);
  std::printf("point %ld %ld\n", p.x, p.y);
  std::vector<HWND> lists;
  EnumChildWindows(window, CollectLists, reinterpret_cast<LPARAM>(&lists));
  for (size_t l = 0; l < lists.size(); ++l) {
    int count = static_cast<int>(SendMessageW(lists[l], LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      int length = static_cast<int>(SendMessageW(lists[l], LB_GETTEXTLEN, i, 0));
      std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
      SendMessageW(lists[l], LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      text.resize(wcslen(text.c_str()));
      std::printf("item %zu %d %s\n", l, i, Utf8(text).c_str());
    }
  }
  std::fflush(stdout);
  return 0;
}
