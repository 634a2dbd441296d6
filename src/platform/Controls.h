// Thin views over the controls a Form owns: each holds the form's record of
// one control and never destroys anything. A default-made view is unbound;
// Form::Get binds it by designer name.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Form.h"
#include "Handles.h"

namespace stamplets::win {

class ControlView {
 public:
  ControlView() = default;
  explicit ControlView(Control& control) : c_(&control) {}

  Control& Record() const { return *c_; }
  HWND Handle() const { return c_->hwnd; }
  const WideString& Name() const { return c_->name; }

  WideString Text() const;
  void SetText(WideStringView text) const;

  bool Visible() const { return IsWindowVisible(c_->hwnd) != FALSE; }
  void SetVisible(bool visible) const { ShowWindow(c_->hwnd, visible ? SW_SHOW : SW_HIDE); }
  bool Enabled() const { return IsWindowEnabled(c_->hwnd) != FALSE; }
  void SetEnabled(bool enabled) const { EnableWindow(c_->hwnd, enabled); }

  // Bounds in the parent's client area. Setting them also makes them the
  // base that anchors work from.
  layout::Rect Bounds() const;
  void SetBounds(const layout::Rect& bounds) const;
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const { return Bounds().width; }
  int Height() const { return Bounds().height; }
  void SetLeft(int left) const;
  void SetTop(int top) const;
  layout::Size ClientSize() const { return win::ClientSize(c_->hwnd); }

  const WideString& Hint() const { return c_->hint; }
  void SetHint(WideStringView hint) const;

  HFONT Font() const { return FormAccess::FontOf(*c_); }
  void Invalidate() const { InvalidateRect(c_->hwnd, nullptr, TRUE); }
  void Repaint() const {
    RedrawWindow(c_->hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  void SetFocus() const { ::SetFocus(c_->hwnd); }
  // Puts the control above its siblings.
  void BringToFront() const {
    SetWindowPos(c_->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

 protected:
  Control* c_ = nullptr;
};

using Panel = ControlView;
using GroupBox = ControlView;
using Label = ControlView;
using Button = ControlView;
using Edit = ControlView;
using Shape = ControlView;
using StatusBarBase = ControlView;

// A picture holds either a bitmap or an icon, owned by the form's record.
class Picture : public ControlView {
 public:
  using ControlView::ControlView;
  HBITMAP Bitmap() const { return c_->bitmap.get(); }
  HICON Icon() const { return c_->icon.get(); }
  void SetBitmap(unique_hbitmap bitmap) const;
  void SetIcon(unique_hicon icon) const;
  // The icon's own size; 0 by 0 without one.
  SIZE IconSize() const;
};

class CheckBox : public ControlView {
 public:
  using ControlView::ControlView;
  bool Checked() const { return SendMessageW(c_->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked) const {
    SendMessageW(c_->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
};

// The list box and the drop-down list share their item calls.
class ListBox : public ControlView {
 public:
  using ControlView::ControlView;
  int Count() const;
  WideString Item(int index) const;
  int Add(WideStringView text) const;
  void Clear() const;
  // -1 when nothing is selected.
  int ItemIndex() const;
  void SetItemIndex(int index) const;
  bool Selected(int index) const;
  int TopIndex() const;

 private:
  bool IsCombo() const { return c_->kind == ControlKind::kComboBox; }
};
using ComboBox = ListBox;

class StatusBar : public ControlView {
 public:
  using ControlView::ControlView;
  // The text of the one panel, centred.
  WideString PanelText() const;
  void SetPanelText(WideStringView text) const;
};

// A report-view list view.
class ListView : public ControlView {
 public:
  using ControlView::ControlView;
  int RowCount() const { return ListView_GetItemCount(c_->hwnd); }
  int ColCount() const { return Header_GetItemCount(ListView_GetHeader(c_->hwnd)); }
  int ColWidth(int column) const { return ListView_GetColumnWidth(c_->hwnd, column); }
  void SetColWidth(int column, int width) const {
    ListView_SetColumnWidth(c_->hwnd, column, width);
  }
};

// The splitter's neighbours and button.
class Splitter : public ControlView {
 public:
  using ControlView::ControlView;
  void SetNeighbours(Control& before, Control& after) const {
    c_->split_before = &before;
    c_->split_after = &after;
  }
  bool ButtonVisible() const { return c_->splitter_button; }
  void SetButtonVisible(bool visible) const {
    c_->splitter_button = visible;
    Invalidate();
  }
};

}  // namespace stamplets::win
