// The main window's life: start-up, show, exit, resize, activation, hints,
// the translation pass and the message hook for dropped files.
#include "Unit1.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <exception>

#include "Dialogs.h"
#include "Layout.h"
#include "Settings.h"
#include "Translation.h"

namespace stamplets::manager {

using win::unique_hbitmap;
using win::unique_hicon;
using win::unique_hmodule;

namespace {

using LanguageSupport::Translate;

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM data) {
  reinterpret_cast<std::vector<layout::Rect>*>(data)->push_back(
      {r->left, r->top, r->right - r->left, r->bottom - r->top});
  return TRUE;
}

// The rectangles of every monitor attached now.
std::vector<layout::Rect> MonitorRects() {
  std::vector<layout::Rect> rects;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&rects));
  return rects;
}

// The system's visual-style library can be bound.
bool BindVisualStyles() {
  unique_hmodule uxtheme(LoadLibraryW(L"uxtheme.dll"));
  return uxtheme && GetProcAddress(uxtheme.get(), "OpenThemeData") != nullptr;
}

unique_hicon LoadResourceIcon(const wchar_t* name, int size) {
  return unique_hicon(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

unique_hbitmap LoadResourceBitmap(const wchar_t* name) {
  return unique_hbitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

}  // namespace

TForm1::TForm1(InstallFolder folder, std::vector<WideString> arguments)
    : folder_(std::move(folder)), arguments_(std::move(arguments)) {
  report_error = [](const std::exception& e) { ShowError(e); };
  LanguageSupport::SetInstallFolder(folder_);
  visual_styles_available_ = BindVisualStyles();
  win::TSortGrid::RegisterWindowClass();
  CreateControls();
  BindControls();
  BindEvents();
  LoadBuiltInPictures();
  SetMinimumSize(560, 430);
  on_show = [this] { FormShow(); };
  on_destroy = [this] { FormDestroy(); };
  on_resize = [this] { FormResize(); };
  on_activate = [this](bool by_mouse) {
    if (by_mouse) {
      TntFormMouseActivate();
    } else {
      TntFormActivate();
    }
  };
  Run([this] { FormCreate(); });
}

TForm1::~TForm1() {
  // The exit sequence needs the whole form, so the window goes first.
  if (Handle()) DestroyWindow(Handle());
}

void TForm1::BindEvents() {
  t_1.Record().on_click = [this] { t_1Click(); };
  t_2.Record().on_click = [this] { t_2Click(); };
  t_3.Record().on_click = [this] { t_3Click(); };
  t_4.Record().on_click = [this] { t_4Click(); };
  t_5.Record().on_click = [this] { t_5Click(); };
  JvNetscapeSplitter1.Record().on_paint = [this](HDC dc, const RECT& clip) {
    JvNetscapeSplitter1Paint(dc, clip);
  };
  Label10.Record().on_click = [this] { Label10Click(); };
  Label17.Record().on_click = [this] { Label17Click(); };
  Label10.Record().flags |= win::kHandCursor;
  Label17.Record().flags |= win::kHandCursor;

  // Library page.
  StringGrid1.OnGetCellText = [this](std::size_t record, int column) -> WideString {
    if (column == 0) return library_.ValidityText(record, library_prober_);
    return column == 1 ? library_.Record(record).value : library_.Record(record).path;
  };
  StringGrid1.OnDrawCell = [this](HDC dc, int column, int row, const RECT& rect, UINT state) {
    StringGrid1DrawCell(dc, column, row, rect, state);
  };
  StringGrid1.OnSelectCell = [this](int column, int row) {
    Run([&] { StringGrid1SelectCell(column, row); });
  };
  StringGrid1.OnClickSort = [this](int column, int row, SortOptions& options) {
    Run([&] { StringGrid1ClickSort(column, row, options); });
  };
  Button5.Record().on_click = [this] { Button5Click(); };
  Button6.Record().on_click = [this] { Button6Click(); };
  tbb_ViewAll.Record().on_click = [this] { ReloadLibrary(); };

  // Themes page.
  ListBox1.Record().on_click = [this] { ListBox1Click(); };
  ListBox1.Record().on_dbl_click = [this] { ListBox1DblClick(); };
  ListBox1.Record().on_measure_item = [this](int index, int& height) {
    ListBox1MeasureItem(index, height);
  };
  ListBox1.Record().on_draw_item = [this](const win::DrawItemArgs& item) {
    ListBox1DrawItem(item);
  };
  tb_AddTheme.Record().on_click = [this] { tb_AddThemeClick(); };
  tb_DeleteTheme.Record().on_click = [this] { tb_DeleteThemeClick(); };
  tb_PackTheme.Record().on_click = [this] { tb_PackThemeClick(); };
  TntLabel8.Record().on_click = [this] { TntLabel8Click(); };
  TntImage1.Record().on_click = [this] { TntLabel8Click(); };

  // Language page.
  ListBox2.Record().on_click = [this] { ListBox2Click(); };
  ListBox2.Record().on_dbl_click = [this] { ListBox2DblClick(); };
  ListBox2.Record().on_measure_item = [this](int index, int& height) {
    ListBox2MeasureItem(index, height);
  };
  ListBox2.Record().on_draw_item = [this](const win::DrawItemArgs& item) {
    ListBox2DrawItem(item);
  };
  ed_www.Record().on_click = [this] { ed_wwwClick(); };
  ed_Email.Record().on_click = [this] { ed_EmailClick(); };
  Label12.Record().on_click = [this] { Label12Click(); };

  // Settings page.
  cbTBThemes.Record().on_change = [this] { cbTBThemesChange(); };
  cbTBThemes.Record().on_measure_item = [this](int index, int& height) {
    cbTBThemesMeasureItem(index, height);
  };
  cbTBThemes.Record().on_draw_item = [this](const win::DrawItemArgs& item) {
    cbTBThemesDrawItem(item);
  };
  Button1.Record().on_click = [this] { Button1Click(); };
}

void TForm1::LoadBuiltInPictures() {
  const wchar_t* page_icons[] = {L"PAGE1", L"PAGE2", L"PAGE3", L"PAGE4", L"PAGE5"};
  win::Picture* pages[] = {&i_1, &i_2, &i_3, &i_4, &i_5};
  for (int i = 0; i < 5; ++i)
    pages[i]->SetIcon(LoadResourceIcon(page_icons[i], 32));
  Image3.SetIcon(LoadResourceIcon(L"WEB16", 16));
  Image4.SetIcon(LoadResourceIcon(L"MAIL16", 16));
  TntImage1.SetIcon(LoadResourceIcon(L"WEB16", 16));
  Image2.SetIcon(LoadResourceIcon(L"WEB16", 16));
  imgInvalid.SetBitmap(LoadResourceBitmap(L"INVALID"));
  imgInvalid_Sel.SetBitmap(LoadResourceBitmap(L"INVALID_SEL"));
  Image6.SetBitmap(LoadResourceBitmap(L"SORT_ASC"));
  Image7.SetBitmap(LoadResourceBitmap(L"SORT_DESC"));
  imgCurLang.SetBitmap(LoadResourceBitmap(L"CURLANG"));
}

void TForm1::FormCreate() {
  Step("LibraryKeys", [&] { LibraryKeys = std::make_unique<TTntStringList>(); });
  Step("ScanThemes", [&] { ScanThemes(); });
  Step("Placement", [&] {
    const WindowPlacement saved = Settings(folder_.File(files::kSettings)).ReadPlacement();
    // A window saved on a monitor that is gone opens at the default place.
    const layout::Rect bounds =
        layout::KeepOnMonitors({saved.left, saved.top, saved.width, saved.height}, MonitorRects());
    SetBounds(bounds);
    SetWindowState(saved.state);
  });
  Step("LanguageList", [&] {
    ListBox2.Add(settings::kEnglish);
    TTntStringList names;
    FindFiles(WideToAnsi(folder_.File(files::kLangsFolder)), "*.ini", names);
    for (int i = 0; i < names.Count(); ++i)
      ListBox2.Add(names[i]);
  });
  Step("LoadCurrentLanguage", [&] { LoadCurrentLanguage(); });
  Step("TranslateForm", [&] { TranslateForm(); });
  Step("ApplySystemFont", [&] { ApplySystemFont(); });
  Step("ShowPage", [&] { ShowPage(1); });
  Step("HintHandler", [&] { on_hint = [this] { ShowHintInStatusBar(); }; });
  Step("ProbeShellIntegration", [&] { ProbeShellIntegration(); });
  Step("ListToolbarSets", [&] { ListToolbarSets(); });
  Step("ApplySavedToolbarSet", [&] { ApplySavedToolbarSet(); });
  Step("SelectCurrentTheme", [&] { SelectCurrentTheme(); });
  Step("AboutPicture", [&] { Image1.SetIcon(LoadResourceIcon(L"MAINICON", 128)); });
  Step("MessageHook", [&] {
    hooked_ = SetWindowSubclass(Handle(), MessageHook, 1, reinterpret_cast<DWORD_PTR>(this));
  });
  Step("DropTarget", [&] {
    DragAcceptFiles(Handle(), TRUE);
    accepts_drops_ = true;
  });
  Step("SplitterButton", [&] {
    if (visual_styles_available_) JvNetscapeSplitter1.SetButtonVisible(false);
  });
  Step("LinkCaptions", [&] {
    TntLabel8.SetText(Translate(L"Get more themes ..."));
    Label12.SetText(Translate(L"Get more language files ..."));
    PlaceLinkPictures();
  });
}

void TForm1::FormShow() {
  Step("LoadLibraryGrid", [&] { LoadLibraryGrid(); });
  Step("ThemeListArea", [&] {
    TntPanel2.SetBounds({0, 0, JvNetscapeSplitter1.Left(), p_2.ClientSize().height});
  });
  Step("AboutTexts", [&] { ShowAboutTexts(); });
  Step("SortColumn", [&] {
    // The grid's own options: the first header click starts from them.
    StringGrid1.SortOptions() = SortOptions{};
    StringGrid1ClickSort(2, 0, StringGrid1.SortOptions());
  });
  // Only a first argument naming a packed theme counts.
  if (!arguments_.empty() && layout::IsPackedThemeArgument(arguments_[0])) {
    Step("tb_AddThemeClick", [&] {
      PendingThemeFile = arguments_[0];
      tb_AddThemeClick();
    });
  }
}

void TForm1::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  // Whatever happens to settings.ini, the hook and the drop registration
  // are given back first; a failed write is reported after that.
  std::exception_ptr failure;
  try {
    WindowPlacement placement;
    placement.state = WindowState();
    const layout::Rect bounds = Bounds();
    placement.left = bounds.left;
    placement.width = bounds.width;
    placement.top = bounds.top;
    placement.height = bounds.height;
    Settings(folder_.File(files::kSettings)).WritePlacement(placement);
  } catch (...) {
    failure = std::current_exception();
  }
  Unhook();
  if (accepts_drops_) {
    DragAcceptFiles(Handle(), FALSE);
    accepts_drops_ = false;
  }
  LibraryKeys.reset();
  if (failure) std::rethrow_exception(failure);
}

void TForm1::Unhook() {
  if (!hooked_) return;
  RemoveWindowSubclass(Handle(), MessageHook, 1);
  hooked_ = false;
}

LRESULT CALLBACK TForm1::MessageHook(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                     DWORD_PTR data) {
  if (msg == WM_DROPFILES) {
    auto* form = reinterpret_cast<TForm1*>(data);
    form->Run([&] { form->HandleDroppedFiles(reinterpret_cast<HDROP>(wp)); });
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void TForm1::FormResize() {
  FitLibraryColumns();
  PlaceLinkPictures();
  ListBox2.Invalidate();
}

void TForm1::PlaceLinkPictures() {
  TntImage1.SetLeft(TntLabel8.Left() - 20);
  Image2.SetLeft(Label12.Left() - 20);
}

void TForm1::TntFormActivate() {
  // A message shown while checking reactivates the window when it closes;
  // that activation must not check again.
  if (activating_ || !Shown()) return;
  activating_ = true;
  try {
    CheckLibraryChanged();
  } catch (...) {
    activating_ = false;
    throw;
  }
  activating_ = false;
}

void TForm1::TntFormMouseActivate() {
  TntFormActivate();
}

void TForm1::t_1Click() {
  ShowPage(1);
}

void TForm1::t_2Click() {
  ShowPage(2);
  SelectCurrentTheme();
}

void TForm1::t_3Click() {
  ShowPage(3);
}

void TForm1::t_4Click() {
  ShowPage(4);
}

void TForm1::t_5Click() {
  ShowPage(5);
}

void TForm1::TranslateForm() {
  SetCaption(Translate(Caption()));
  // Captions of buttons, check boxes, group boxes and labels.
  for (const auto& record : Controls()) {
    switch (record->kind) {
      case win::ControlKind::kButton:
      case win::ControlKind::kCheckBox:
      case win::ControlKind::kGroupBox:
      case win::ControlKind::kLabel: {
        win::ControlView view(*record);
        view.SetText(Translate(view.Text()));
        break;
      }
      default:
        break;
    }
  }
  // The plain text of every other control that has one; a control that
  // refuses is passed over.
  for (const auto& record : Controls()) {
    switch (record->kind) {
      case win::ControlKind::kEdit:
      case win::ControlKind::kMemo:
      case win::ControlKind::kPanel:
        try {
          win::ControlView view(*record);
          const WideString text = view.Text();
          if (!text.empty()) view.SetText(Translate(text));
        } catch (...) {
        }
        break;
      default:
        break;
    }
  }
}

void TForm1::ApplySystemFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    SetFont(metrics.lfMessageFont);
  LOGFONTW icon_title{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon_title, &icon_title, 0))
    SetFont(icon_title);
}

void TForm1::ShowHintInStatusBar() {
  StatusBar1.SetPanelText(Translate(Hint()));
}

bool TForm1::VisualStylesInUse() const {
  return visual_styles_available_ && IsThemeActive() && IsAppThemed();
}

void TForm1::JvNetscapeSplitter1Paint(HDC dc, const RECT& clip) {
  if (!visual_styles_available_) return;
  HTHEME theme = OpenThemeData(JvNetscapeSplitter1.Handle(), L"toolbar");
  if (!theme) return;
  // Part 5, state 1: the toolbar separator in its normal state.
  DrawThemeBackground(theme, dc, 5, 1, &clip, nullptr);
  CloseThemeData(theme);
}

}  // namespace stamplets::manager
