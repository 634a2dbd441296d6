// The Stamplets page's initialisation: from WM_INITDIALOG to the list
// filled with its eleven icons and translated names and the stored entry
// marked, in a modeless property sheet, with the language file Deutsch.ini
// in use. Timed by hooks around the page's WM_INITDIALOG alone, so the
// sheet's own work is left out. Variants: a store that holds only the item,
// and one of 1,000 records. Two yardsticks show where the time goes:
//   Icons        the eleven 50 x 50 icons loaded into an image list;
//   Translations the twelve texts of the page translated.
//   cmake/wine-run build/win64/bench/stamptab_page_bench.exe
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "Handles.h"
#include "InstallFolder.h"
#include "StamptabClass.h"
#include "TestSupport.h"
#include "Translation.h"

namespace stamplets {
namespace {

namespace fs = std::filesystem;

// An installation folder with a copy of Stamptab.dll, loaded.
struct Installation {
  test::TempDir root;
  InstallFolder folder;
  win::unique_hmodule module;
  WideString item;

  Installation() {
    const fs::path dist(test::DistFolder());
    const fs::path dir = fs::path(root.Path()) / "install";
    fs::create_directories(dir);
    fs::copy(dist / "Stamptab.dll", dir);
    fs::copy(dist / "icons", dir / "icons", fs::copy_options::recursive);
    fs::copy(dist / "langs", dir / "langs", fs::copy_options::recursive);
    folder = InstallFolder(dir.wstring());
    test::WriteBytes(folder.File(files::kSettings),
                     test::Utf16File(L"[Translate]\r\nCurLang=Deutsch.ini\r\n"));
    item = root / L"marked file.txt";
    test::WriteBytes(item, "x");
    module.reset(LoadLibraryW(folder.File(files::kStamptab).c_str()));
  }

  void WriteStore(int other_records) const {
    WideString text = L"[Files]\r\n";
    for (int i = 0; i < other_records; ++i)
      text += L"C:\\Users\\someone\\Documents\\Folder " + IntToWide(i / 100) + L"\\document " +
              IntToWide(i) + L".txt=" + IntToWide(i % 10 + 1) + L"\r\n";
    text += item + L"=7\r\n";
    test::WriteBytes(folder.File(files::kStore), test::Utf16File(text));
  }
};

Installation& Install() {
  static Installation installation;
  return installation;
}

win::ComPtr<IShellExtInit> Handler() {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(Install().module.get(), "DllGetClassObject")));
  win::ComPtr<IClassFactory> factory;
  win::ComPtr<IShellExtInit> handler;
  get(stamptab::CLSID_FolPropSheet, IID_IClassFactory, factory.put_void());
  factory->CreateInstance(nullptr, IID_IShellExtInit, handler.put_void());

  PIDLIST_ABSOLUTE pidl = nullptr;
  SHParseDisplayName(Install().item.c_str(), nullptr, &pidl, 0, nullptr);
  win::ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD child = nullptr;
  SHBindToParent(pidl, IID_IShellFolder, parent.put_void(), &child);
  win::ComPtr<IDataObject> data;
  parent->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr, data.put_void());
  CoTaskMemFree(pidl);
  handler->Initialize(nullptr, data.get(), nullptr);
  return handler;
}

// Times the page's WM_INITDIALOG: the page is the dialog whose control 0
// is a list view.
LARGE_INTEGER g_started, g_finished;

bool IsPage(HWND window) {
  wchar_t cls[32] = {};
  GetClassNameW(GetDlgItem(window, stamptab::kListControl), cls, 32);
  return lstrcmpiW(cls, L"SysListView32") == 0;
}

LRESULT CALLBACK BeforeCall(int code, WPARAM wparam, LPARAM lparam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG && IsPage(call->hwnd))
    QueryPerformanceCounter(&g_started);
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK AfterCall(int code, WPARAM wparam, LPARAM lparam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG && IsPage(call->hwnd))
    QueryPerformanceCounter(&g_finished);
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL CALLBACK CollectPage(HPROPSHEETPAGE page, LPARAM pages) {
  reinterpret_cast<std::vector<HPROPSHEETPAGE>*>(pages)->push_back(page);
  return TRUE;
}

void BM_PageInitialisation(benchmark::State& state) {
  OleInitialize(nullptr);
  Install().WriteStore(static_cast<int>(state.range(0)));
  auto handler = Handler();
  win::ComPtr<IShellPropSheetExt> ext;
  handler.As(IID_IShellPropSheetExt, ext);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  HHOOK before = SetWindowsHookExW(WH_CALLWNDPROC, BeforeCall, nullptr, GetCurrentThreadId());
  HHOOK after = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterCall, nullptr, GetCurrentThreadId());
  for (auto _ : state) {
    std::vector<HPROPSHEETPAGE> pages;
    ext->AddPages(CollectPage, reinterpret_cast<LPARAM>(&pages));
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS;
    header.pszCaption = L"Properties";
    header.nPages = static_cast<UINT>(pages.size());
    header.phpage = pages.data();
    g_started.QuadPart = g_finished.QuadPart = 0;
    HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    if (!sheet || !g_finished.QuadPart) {
      state.SkipWithError("the page was not initialised inside the hooks");
      break;
    }
    state.SetIterationTime(static_cast<double>(g_finished.QuadPart - g_started.QuadPart) /
                           static_cast<double>(frequency.QuadPart));
    DestroyWindow(sheet);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&msg);
  }
  UnhookWindowsHookEx(before);
  UnhookWindowsHookEx(after);
  state.counters["store_records"] = static_cast<double>(state.range(0) + 1);
}

void BM_Icons(benchmark::State& state) {
  const InstallFolder& folder = Install().folder;
  for (auto _ : state) {
    win::unique_himagelist images(ImageList_Create(50, 50, ILC_COLOR32 | ILC_MASK, 10, 0));
    for (int i = 0; i <= 10; ++i) {
      win::unique_hicon icon(static_cast<HICON>(
          LoadImageW(nullptr, folder.CurrentIcon(i).c_str(), IMAGE_ICON, 50, 50, LR_LOADFROMFILE)));
      ImageList_AddIcon(images.get(), icon.get());
    }
    benchmark::DoNotOptimize(images.get());
  }
}

void BM_Translations(benchmark::State& state) {
  const wchar_t* const texts[] = {L"Double click to setup Stamplett for current object:",
                                  L"Disabled",
                                  L"Certified",
                                  L"Cool",
                                  L"Danger",
                                  L"Delete",
                                  L"Distinguished",
                                  L"Favorite",
                                  L"Important",
                                  L"New",
                                  L"Personal",
                                  L"Web"};
  for (auto _ : state)
    for (const wchar_t* text : texts)
      benchmark::DoNotOptimize(StamptabText::Translate(text, Install().folder));
}

BENCHMARK(BM_Icons)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Translations)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PageInitialisation)
    ->Arg(0)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

}  // namespace
}  // namespace stamplets

BENCHMARK_MAIN();
