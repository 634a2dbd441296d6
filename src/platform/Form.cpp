#include "Form.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <stdexcept>

namespace stamplets::win {

namespace {

constexpr wchar_t kFormClass[] = L"StampletsForm";
constexpr wchar_t kPanelClass[] = L"StampletsPanel";
constexpr wchar_t kGroupBoxClass[] = L"StampletsGroupBox";
constexpr wchar_t kPictureClass[] = L"StampletsPicture";
constexpr wchar_t kLabelClass[] = L"StampletsLabel";
constexpr wchar_t kShapeClass[] = L"StampletsShape";
constexpr wchar_t kSplitterClass[] = L"StampletsSplitter";

// Child window ids: the record's index plus this.
constexpr int kFirstId = 1000;
// A drop-down list's window height includes its open list.
constexpr int kComboListHeight = 260;
// The smallest width the splitter leaves either neighbour.
constexpr int kSplitterMinSize = 30;
constexpr int kSplitterButtonHeight = 60;
// Links are drawn in one readable blue whatever the system's hot-light colour.
constexpr COLORREF kLinkColour = RGB(0, 102, 204);

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

layout::Rect RectInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void MoveControl(const Control& c, const layout::Rect& r) {
  const int height = c.kind == ControlKind::kComboBox ? r.height + kComboListHeight : r.height;
  SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsContainer(ControlKind kind) {
  return kind == ControlKind::kPanel || kind == ControlKind::kGroupBox;
}

const wchar_t* ClassOf(const ControlSpec& row) {
  switch (row.kind) {
    case ControlKind::kPanel:
      return kPanelClass;
    case ControlKind::kGroupBox:
      return kGroupBoxClass;
    case ControlKind::kPicture:
      return kPictureClass;
    case ControlKind::kLabel:
      return kLabelClass;
    case ControlKind::kShape:
      return kShapeClass;
    case ControlKind::kSplitter:
      return kSplitterClass;
    case ControlKind::kButton:
    case ControlKind::kCheckBox:
      return WC_BUTTONW;
    case ControlKind::kEdit:
    case ControlKind::kMemo:
      return WC_EDITW;
    case ControlKind::kListBox:
      return WC_LISTBOXW;
    case ControlKind::kComboBox:
      return WC_COMBOBOXW;
    case ControlKind::kStatusBar:
      return STATUSCLASSNAMEW;
    case ControlKind::kListView:
      return WC_LISTVIEWW;
    case ControlKind::kCustom:
      return row.window_class;
  }
  return kPanelClass;
}

void StyleOf(const ControlSpec& row, DWORD& style, DWORD& ex_style) {
  style = WS_CHILD | WS_CLIPSIBLINGS;
  ex_style = 0;
  if (!(row.flags & kHidden)) style |= WS_VISIBLE;
  switch (row.kind) {
    case ControlKind::kPanel:
    case ControlKind::kGroupBox:
      style |= WS_CLIPCHILDREN;
      ex_style |= WS_EX_CONTROLPARENT;
      break;
    case ControlKind::kButton:
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case ControlKind::kCheckBox:
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::kEdit:
      style |= ES_AUTOHSCROLL | WS_TABSTOP;
      ex_style |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kMemo:
      style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
      ex_style |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kListBox:
      style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
               WS_VSCROLL | WS_TABSTOP;
      ex_style |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kComboBox:
      style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
      break;
    case ControlKind::kStatusBar:
      style |= SBARS_SIZEGRIP;
      break;
    case ControlKind::kListView:
      style |= LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP;
      ex_style |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kCustom:
      style |= WS_TABSTOP;
      break;
    default:
      break;
  }
  if (row.flags & kReadOnly) style |= ES_READONLY;
}

LOGFONTW LogFontOf(HFONT font) {
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  return lf;
}

WideString WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  WideString text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

LRESULT CALLBACK ChildSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                               DWORD_PTR data) {
  auto* c = reinterpret_cast<Control*>(data);
  try {
    switch (msg) {
      case WM_MOUSEMOVE:
        FormAccess::MouseOver(*c->form, c);
        break;
      case WM_SETCURSOR:
        if (c->flags & (kLinkLook | kHandCursor)) {
          SetCursor(LoadCursorW(nullptr, IDC_HAND));
          return TRUE;
        }
        break;
      case WM_LBUTTONUP:
        if (c->kind == ControlKind::kEdit || c->kind == ControlKind::kMemo) {
          const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
          if (c->on_click) c->form->Run(c->on_click);
          return r;
        }
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, ChildSubclass, 1);
        break;
      default:
        break;
    }
  } catch (...) {
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

layout::Size ClientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void RegisterControlClasses() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                             ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    struct {
      const wchar_t* name;
      WNDPROC proc;
      const wchar_t* cursor;
    } kinds[] = {
        {kPanelClass, ControlProc, IDC_ARROW},   {kGroupBoxClass, ControlProc, IDC_ARROW},
        {kPictureClass, ControlProc, IDC_ARROW}, {kLabelClass, ControlProc, IDC_ARROW},
        {kShapeClass, ControlProc, IDC_ARROW},   {kSplitterClass, ControlProc, IDC_SIZEWE},
    };
    for (const auto& kind : kinds) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = kind.proc;
      wc.hInstance = Instance();
      wc.hCursor = LoadCursorW(nullptr, kind.cursor);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = kind.name;
      RegisterClassExW(&wc);
    }
    return true;
  }();
  (void)registered;
}

// ---- Form --------------------------------------------------------------------

Form::Form() = default;

Form::~Form() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Form::CreateForm(WideStringView caption, int client_width, int client_height,
                      const ControlSpec* rows, std::size_t count) {
  RegisterControlClasses();
  static const bool form_class = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(Instance(), L"MAINICON");
    wc.lpszClassName = kFormClass;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!form_class) throw std::runtime_error("the main window class cannot be registered");

  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  const DWORD ex_style = WS_EX_CONTROLPARENT;
  RECT outer{0, 0, client_width, client_height};
  AdjustWindowRectEx(&outer, style, FALSE, ex_style);
  const WideString title(caption);
  if (!CreateWindowExW(ex_style, kFormClass, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                       outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                       Instance(), this))
    throw std::runtime_error("the main window cannot be created");

  // The controls' positions are relative to the client area as designed.
  client_then_ = {client_width, client_height};
  LOGFONTW lf{};
  lf.lfHeight = -11;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcscpy(lf.lfFaceName, L"Tahoma");
  font_.reset(CreateFontIndirectW(&lf));
  for (std::size_t i = 0; i < count; ++i)
    CreateControl(rows[i]);
  ApplyFonts();
  Relayout();
}

void Form::CreateControl(const ControlSpec& row) {
  auto record = std::make_unique<Control>();
  Control& c = *record;
  c.form = this;
  c.index = static_cast<int>(controls_.size());
  c.kind = row.kind;
  c.name = row.name;
  c.parent = row.parent ? &Get(row.parent) : nullptr;
  c.anchors = row.anchors;
  c.flags = row.flags;
  c.hint = row.hint;
  c.font_spec = row.font;
  c.placed = {row.left, row.top, row.width, row.height};
  c.parent_then =
      c.parent ? layout::Size{c.parent->placed.width, c.parent->placed.height} : client_then_;
  if (row.kind == ControlKind::kComboBox) c.field_height = row.height - 6;
  controls_.push_back(std::move(record));

  DWORD style, ex_style;
  StyleOf(row, style, ex_style);
  const int height =
      row.kind == ControlKind::kComboBox ? row.height + kComboListHeight : row.height;
  HWND parent = c.parent ? c.parent->hwnd : hwnd_;
  c.hwnd = CreateWindowExW(
      ex_style, ClassOf(row), row.text, style, row.left, row.top, row.width, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + c.index)), Instance(), &c);
  if (!c.hwnd) {
    throw std::runtime_error("control " + WideToUtf8(c.name) + " cannot be created");
  }
  switch (row.kind) {
    case ControlKind::kCheckBox:
      SendMessageW(c.hwnd, BM_SETCHECK, (row.flags & kChecked) ? BST_CHECKED : BST_UNCHECKED, 0);
      [[fallthrough]];
    case ControlKind::kButton:
    case ControlKind::kEdit:
    case ControlKind::kMemo:
    case ControlKind::kListBox:
    case ControlKind::kComboBox:
    case ControlKind::kStatusBar:
    case ControlKind::kListView:
    case ControlKind::kCustom:
      SetWindowSubclass(c.hwnd, ChildSubclass, 1, reinterpret_cast<DWORD_PTR>(&c));
      break;
    default:
      break;
  }
  if (row.kind == ControlKind::kStatusBar) {
    int parts[] = {-1};
    SendMessageW(c.hwnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
  }
  if (row.kind == ControlKind::kComboBox)
    SendMessageW(c.hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), c.field_height);
  if (row.kind == ControlKind::kListView)
    ListView_SetExtendedListViewStyle(c.hwnd, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
}

Control* Form::Find(WideStringView name) const {
  for (const auto& c : controls_)
    if (c->name == name) return c.get();
  return nullptr;
}

Control& Form::Get(WideStringView name) const {
  Control* c = Find(name);
  if (!c) throw std::out_of_range("no control " + WideToUtf8(name));
  return *c;
}

HFONT Form::FontOf(const Control& c) const {
  return c.own_font ? c.own_font.get() : font_.get();
}

HFONT FormAccess::FontOf(const Control& control) {
  return control.form->FontOf(control);
}

void Form::SetFont(const LOGFONTW& font) {
  unique_hfont made(CreateFontIndirectW(&font));
  if (!made) return;
  font_ = std::move(made);
  ApplyFonts();
}

void Form::ApplyFonts() {
  const LOGFONTW base = LogFontOf(font_.get());
  for (auto& c : controls_) {
    const bool own = c->font_spec.face || c->font_spec.bold || (c->flags & kLinkLook);
    if (own) {
      LOGFONTW lf = base;
      if (c->font_spec.face) {
        wcsncpy(lf.lfFaceName, c->font_spec.face, LF_FACESIZE - 1);
        lf.lfHeight = c->font_spec.height;
        lf.lfWidth = 0;
        lf.lfCharSet =
            wcscmp(c->font_spec.face, L"Marlett") == 0 ? SYMBOL_CHARSET : DEFAULT_CHARSET;
      }
      if (c->font_spec.bold) lf.lfWeight = FW_BOLD;
      if (c->flags & kLinkLook) lf.lfUnderline = TRUE;
      c->own_font.reset(CreateFontIndirectW(&lf));
    }
    SendMessageW(c->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(*c)), FALSE);
    // A new font resets a drop-down list's selection field to the font's height.
    if (c->kind == ControlKind::kComboBox)
      SendMessageW(c->hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), c->field_height);
    if (c->kind == ControlKind::kLabel) FormAccess::SizeLabelToText(*c);
    InvalidateRect(c->hwnd, nullptr, TRUE);
  }
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

WideString Form::Caption() const {
  return WindowText(hwnd_);
}

void Form::SetCaption(WideStringView caption) {
  SetWindowTextW(hwnd_, WideString(caption).c_str());
}

layout::Rect Form::Bounds() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Form::SetBounds(const layout::Rect& b) {
  SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::WindowState() const {
  if (!shown_) return pending_state_;
  if (IsIconic(hwnd_)) return 1;
  if (IsZoomed(hwnd_)) return 2;
  return 0;
}

void Form::SetWindowState(int state) {
  pending_state_ = state;
  if (shown_) ShowWindow(hwnd_, state == 1 ? SW_MINIMIZE : state == 2 ? SW_MAXIMIZE : SW_RESTORE);
}

void Form::Show() {
  if (!shown_) {
    shown_ = true;
    Run(on_show);
  }
  ShowWindow(hwnd_, pending_state_ == 1   ? SW_SHOWMINIMIZED
                    : pending_state_ == 2 ? SW_SHOWMAXIMIZED
                                          : SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void Form::SetHint(WideStringView hint) {
  if (hint_ == hint) return;
  hint_ = WideString(hint);
  Run(on_hint);
}

void Form::Relayout() {
  if (!hwnd_) return;
  for (auto& c : controls_) {
    if (c->kind == ControlKind::kStatusBar) {
      SendMessageW(c->hwnd, WM_SIZE, 0, 0);
      continue;
    }
    const layout::Size now = ClientSize(c->parent ? c->parent->hwnd : hwnd_);
    const layout::Rect r = layout::Anchored(c->placed, c->parent_then, now, c->anchors);
    if (RectInParent(c->hwnd) != r) MoveControl(*c, r);
  }
}

void Form::Run(const std::function<void()>& handler) const {
  if (!handler) return;
  try {
    handler();
  } catch (const std::exception& e) {
    if (report_error) report_error(e);
  } catch (...) {
    if (report_error) report_error(std::runtime_error("Unexpected error"));
  }
}

LRESULT CALLBACK Form::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* form;
  if (msg == WM_NCCREATE) {
    form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  } else {
    form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!form) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return form->HandleMessage(msg, wp, lp);
  } catch (...) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT routed = 0;
  if (FormAccess::RouteChildMessage(*this, msg, wp, lp, routed)) return routed;
  switch (msg) {
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED && !controls_.empty()) {
        Relayout();
        Run(on_resize);
      }
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      if (min_size_.width) info->ptMinTrackSize.x = min_size_.width;
      if (min_size_.height) info->ptMinTrackSize.y = min_size_.height;
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && on_activate) Run([&] { on_activate(false); });
      break;
    case WM_MOUSEACTIVATE:
      if (on_activate) Run([&] { on_activate(true); });
      break;
    case WM_MOUSEMOVE:
      FormAccess::MouseOver(*this, nullptr);
      return 0;
    case WM_DESTROY:
      Run(on_destroy);
      Run(on_closed);
      return 0;
    case WM_NCDESTROY: {
      const LRESULT r = DefWindowProcW(hwnd_, msg, wp, lp);
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      for (auto& c : controls_)
        c->hwnd = nullptr;
      return r;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

// ---- child notifications ----------------------------------------------------

bool FormAccess::RouteChildMessage(Form& form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  auto control_of_id = [&](UINT_PTR id) -> Control* {
    const auto index = static_cast<long long>(id) - kFirstId;
    if (index < 0 || index >= static_cast<long long>(form.controls_.size())) return nullptr;
    return form.controls_[static_cast<std::size_t>(index)].get();
  };
  switch (msg) {
    case WM_COMMAND: {
      if (!lp) return false;
      Control* c = control_of_id(LOWORD(wp));
      if (!c || c->hwnd != reinterpret_cast<HWND>(lp)) return false;
      const UINT code = HIWORD(wp);
      switch (c->kind) {
        case ControlKind::kButton:
        case ControlKind::kCheckBox:
          if (code == BN_CLICKED) form.Run(c->on_click);
          break;
        case ControlKind::kListBox:
          if (code == LBN_SELCHANGE) form.Run(c->on_click);
          if (code == LBN_DBLCLK) form.Run(c->on_dbl_click);
          break;
        case ControlKind::kComboBox:
          if (code == CBN_SELCHANGE) form.Run(c->on_change);
          break;
        case ControlKind::kEdit:
        case ControlKind::kMemo:
          if (code == EN_CHANGE) form.Run(c->on_change);
          break;
        default:
          break;
      }
      result = 0;
      return true;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      Control* c = control_of_id(header->idFrom);
      if (!c || c->hwnd != header->hwndFrom || !c->on_notify) return false;
      result = 0;
      form.Run([&] { result = c->on_notify(header); });
      return true;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      Control* c = control_of_id(item->CtlID);
      if (!c) return false;
      if (c->kind == ControlKind::kComboBox && item->itemID == static_cast<UINT>(-1)) {
        item->itemHeight = static_cast<UINT>(c->field_height);
      } else if (c->on_measure_item) {
        int height = static_cast<int>(item->itemHeight);
        form.Run([&] { c->on_measure_item(static_cast<int>(item->itemID), height); });
        item->itemHeight = static_cast<UINT>(height > 0 ? height : 1);
      }
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      Control* c = control_of_id(item->CtlID);
      if (!c || c->hwnd != item->hwndItem) return false;
      const int saved = SaveDC(item->hDC);
      SelectObject(item->hDC, FontOf(*c));
      const bool selected = item->itemState & ODS_SELECTED;
      SetTextColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      SetBkColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
      if (static_cast<int>(item->itemID) < 0 || !c->on_draw_item) {
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_WINDOW));
      } else {
        const DrawItemArgs args{item->hDC, static_cast<int>(item->itemID), item->rcItem,
                                item->itemState, item->hwndItem};
        form.Run([&] { c->on_draw_item(args); });
      }
      RestoreDC(item->hDC, saved);
      if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(item->hDC, &item->rcItem);
      result = TRUE;
      return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      Control* c = reinterpret_cast<Control*>(0);
      for (auto& candidate : form.controls_)
        if (candidate->hwnd == reinterpret_cast<HWND>(lp)) c = candidate.get();
      if (!c || (c->kind != ControlKind::kEdit && c->kind != ControlKind::kMemo)) return false;
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      SetTextColor(dc, (c->flags & kLinkLook) ? kLinkColour : GetSysColor(COLOR_WINDOWTEXT));
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      return true;
    }
    default:
      return false;
  }
}

void FormAccess::MouseOver(Form& form, Control* control) {
  form.hover_ = control;
  const Control* c = control;
  while (c && c->hint.empty())
    c = c->parent;
  form.SetHint(c ? c->hint : WideString());
}

void FormAccess::SizeLabelToText(Control& c) {
  if (!c.hwnd) return;
  HDC dc = GetDC(c.hwnd);
  HGDIOBJ old = SelectObject(dc, FontOf(c));
  const WideString text = WindowText(c.hwnd);
  RECT r{0, 0, 0, 0};
  if (text.empty()) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    r.bottom = tm.tmHeight;
  } else {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT);
  }
  SelectObject(dc, old);
  ReleaseDC(c.hwnd, dc);
  layout::Rect now = RectInParent(c.hwnd);
  const int width = r.right - r.left;
  if (c.flags & kRightJustify) now.left = now.Right() - width;
  now.width = width;
  now.height = r.bottom - r.top;
  c.placed = now;
  c.parent_then = ClientSize(GetParent(c.hwnd));
  MoveControl(c, now);
}

// ---- the windows of our own kinds ---------------------------------------------

namespace {

void PaintControl(Control& c, HDC dc, const RECT& clip) {
  RECT client;
  GetClientRect(c.hwnd, &client);
  switch (c.kind) {
    case ControlKind::kPicture:
      if (c.bitmap) {
        unique_hdc memory(CreateCompatibleDC(dc));
        SelectObjectScope select(memory.get(), c.bitmap.get());
        BITMAP bm{};
        GetObjectW(c.bitmap.get(), sizeof bm, &bm);
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory.get(), 0, 0, SRCCOPY);
      } else if (c.icon) {
        ICONINFO info{};
        int w = 32, h = 32;
        if (GetIconInfo(c.icon.get(), &info)) {
          BITMAP bm{};
          GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
          w = bm.bmWidth;
          h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
          if (info.hbmColor) DeleteObject(info.hbmColor);
          if (info.hbmMask) DeleteObject(info.hbmMask);
        }
        const int x = (c.flags & kCentred) ? (client.right - w) / 2 : 0;
        const int y = (c.flags & kCentred) ? (client.bottom - h) / 2 : 0;
        DrawIconEx(dc, x, y, c.icon.get(), w, h, 0, nullptr, DI_NORMAL);
      }
      break;
    case ControlKind::kLabel: {
      const WideString text = WindowText(c.hwnd);
      SelectObjectScope font(dc, FormAccess::FontOf(c));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, (c.flags & kLinkLook) ? kLinkColour : GetSysColor(COLOR_BTNTEXT));
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
                (c.flags & kRightJustify) ? DT_RIGHT : DT_LEFT);
      break;
    }
    case ControlKind::kShape:
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
      break;
    case ControlKind::kGroupBox: {
      const WideString text = WindowText(c.hwnd);
      SelectObjectScope font(dc, FormAccess::FontOf(c));
      TEXTMETRICW tm{};
      GetTextMetricsW(dc, &tm);
      RECT frame = client;
      frame.top += tm.tmHeight / 2;
      DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
      if (!text.empty()) {
        RECT caption{8, 0, 0, tm.tmHeight};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption, DT_CALCRECT);
        caption.left -= 2;
        caption.right += 2;
        FillRect(dc, &caption, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        caption.left += 2;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption, DT_LEFT);
      }
      break;
    }
    case ControlKind::kSplitter:
      if (c.on_paint) c.form->Run([&] { c.on_paint(dc, clip); });
      if (c.splitter_button) {
        RECT button = client;
        button.top = (client.bottom - kSplitterButtonHeight) / 2;
        button.bottom = button.top + kSplitterButtonHeight;
        DrawEdge(dc, &button, EDGE_RAISED, BF_RECT | BF_MIDDLE);
      }
      break;
    default:
      break;
  }
}

bool OnSplitterButton(const Control& c, int y) {
  if (!c.splitter_button) return false;
  const int top = (ClientSize(c.hwnd).height - kSplitterButtonHeight) / 2;
  return y >= top && y < top + kSplitterButtonHeight;
}

void PlaceControl(Control& c, const layout::Rect& r) {
  c.placed = r;
  c.parent_then = ClientSize(GetParent(c.hwnd));
  MoveControl(c, r);
}

// Moves the splitter to `left` (in its parent) and the edge between its two
// neighbours with it.
void MoveSplitter(Control& c, int left) {
  if (!c.split_before || !c.split_after) return;
  const layout::Rect before = RectInParent(c.split_before->hwnd);
  const layout::Rect after = RectInParent(c.split_after->hwnd);
  const layout::Rect self = RectInParent(c.hwnd);
  const int after_right = after.Right();
  const int lowest = before.left + kSplitterMinSize;
  const int highest = after_right - self.width - kSplitterMinSize;
  if (left < lowest) left = lowest;
  if (left > highest) left = highest;
  PlaceControl(*c.split_before, {before.left, before.top, left - before.left, before.height});
  PlaceControl(c, {left, self.top, self.width, self.height});
  PlaceControl(*c.split_after,
               {left + self.width, after.top, after_right - left - self.width, after.height});
  c.form->Relayout();
}

}  // namespace

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Control* c;
  if (msg == WM_NCCREATE) {
    c = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
    c->hwnd = hwnd;
  } else {
    c = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!c) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    LRESULT routed = 0;
    if (IsContainer(c->kind) && FormAccess::RouteChildMessage(*c->form, msg, wp, lp, routed))
      return routed;
    switch (msg) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        PaintControl(*c, dc, ps.rcPaint);
        EndPaint(hwnd, &ps);
        return 0;
      }
      case WM_SETTEXT: {
        const LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
        if (c->kind == ControlKind::kLabel) FormAccess::SizeLabelToText(*c);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
      }
      case WM_MOUSEMOVE:
        FormAccess::MouseOver(*c->form, c);
        if (c->kind == ControlKind::kSplitter && c->dragging) {
          POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
          MapWindowPoints(hwnd, GetParent(hwnd), &p, 1);
          MoveSplitter(*c, p.x - c->grab_x);
        }
        return 0;
      case WM_SETCURSOR:
        if (c->flags & (kLinkLook | kHandCursor)) {
          SetCursor(LoadCursorW(nullptr, IDC_HAND));
          return TRUE;
        }
        break;
      case WM_LBUTTONDOWN:
        if (c->kind == ControlKind::kSplitter) {
          if (OnSplitterButton(*c, GET_Y_LPARAM(lp))) {
            // The button folds the right neighbour away, or opens it again.
            const layout::Rect before = RectInParent(c->split_before->hwnd);
            const layout::Rect self = RectInParent(c->hwnd);
            const layout::Rect after = RectInParent(c->split_after->hwnd);
            const bool folded = !IsWindowVisible(c->split_after->hwnd);
            ShowWindow(c->split_after->hwnd, folded ? SW_SHOW : SW_HIDE);
            const int fold_to = after.Right() - self.width;
            if (!folded) {
              PlaceControl(*c->split_before,
                           {before.left, before.top, fold_to - before.left, before.height});
              PlaceControl(*c, {fold_to, self.top, self.width, self.height});
            } else {
              MoveSplitter(*c, self.left - after.width);
            }
            return 0;
          }
          c->dragging = true;
          c->grab_x = GET_X_LPARAM(lp);
          SetCapture(hwnd);
          return 0;
        }
        if (c->kind == ControlKind::kPicture || c->kind == ControlKind::kLabel) {
          c->pressed = true;
          SetCapture(hwnd);
        }
        return 0;
      case WM_LBUTTONUP:
        if (c->dragging || c->pressed) {
          const bool click = c->pressed;
          c->dragging = c->pressed = false;
          ReleaseCapture();
          RECT client;
          GetClientRect(hwnd, &client);
          POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
          if (click && PtInRect(&client, p)) c->form->Run(c->on_click);
        }
        return 0;
      case WM_CAPTURECHANGED:
        c->dragging = c->pressed = false;
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
      default:
        break;
    }
  } catch (...) {
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace stamplets::win
