#include "Controls.h"

#include <vector>

namespace stamplets::win {

WideString ControlView::Text() const {
  const int n = GetWindowTextLengthW(c_->hwnd);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(n) + 1);
  const int got = GetWindowTextW(c_->hwnd, buffer.data(), n + 1);
  return WideString(buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

void ControlView::SetText(WideStringView text) const {
  SetWindowTextW(c_->hwnd, WideString(text).c_str());
}

layout::Rect ControlView::Bounds() const {
  RECT r{};
  GetWindowRect(c_->hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(c_->hwnd), reinterpret_cast<POINT*>(&r), 2);
  // A drop-down list's window includes its open list; its closed height is
  // what it was placed with.
  const int height = c_->kind == ControlKind::kComboBox ? c_->placed.height : r.bottom - r.top;
  return {r.left, r.top, r.right - r.left, height};
}

void ControlView::SetBounds(const layout::Rect& b) const {
  c_->placed = b;
  c_->parent_then = win::ClientSize(GetParent(c_->hwnd));
  const int height = c_->kind == ControlKind::kComboBox ? b.height + 260 : b.height;
  SetWindowPos(c_->hwnd, nullptr, b.left, b.top, b.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlView::SetLeft(int left) const {
  layout::Rect b = Bounds();
  b.left = left;
  SetBounds(b);
}

void ControlView::SetTop(int top) const {
  layout::Rect b = Bounds();
  b.top = top;
  SetBounds(b);
}

void ControlView::SetHint(WideStringView hint) const {
  c_->hint = WideString(hint);
  // The hint shown changes at once when the mouse is over this control.
  POINT p;
  GetCursorPos(&p);
  if (WindowFromPoint(p) == c_->hwnd) FormAccess::MouseOver(*c_->form, c_);
}

void Picture::SetBitmap(unique_hbitmap bitmap) const {
  c_->icon.reset();
  c_->bitmap = std::move(bitmap);
  Invalidate();
}

void Picture::SetIcon(unique_hicon icon) const {
  c_->bitmap.reset();
  c_->icon = std::move(icon);
  Invalidate();
}

SIZE Picture::IconSize() const {
  SIZE size{0, 0};
  ICONINFO info{};
  if (!c_->icon || !GetIconInfo(c_->icon.get(), &info)) return size;
  BITMAP bm{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  size.cx = bm.bmWidth;
  size.cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return size;
}

int ListBox::Count() const {
  return static_cast<int>(SendMessageW(c_->hwnd, IsCombo() ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
}

WideString ListBox::Item(int index) const {
  const auto length = SendMessageW(c_->hwnd, IsCombo() ? CB_GETLBTEXTLEN : LB_GETTEXTLEN,
                                   static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  SendMessageW(c_->hwnd, IsCombo() ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(buffer.data()));
  return WideString(buffer.data());
}

int ListBox::Add(WideStringView text) const {
  const WideString item(text);
  return static_cast<int>(SendMessageW(c_->hwnd, IsCombo() ? CB_ADDSTRING : LB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(item.c_str())));
}

void ListBox::Clear() const {
  SendMessageW(c_->hwnd, IsCombo() ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

int ListBox::ItemIndex() const {
  return static_cast<int>(SendMessageW(c_->hwnd, IsCombo() ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

void ListBox::SetItemIndex(int index) const {
  SendMessageW(c_->hwnd, IsCombo() ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool ListBox::Selected(int index) const {
  if (IsCombo()) return ItemIndex() == index;
  return SendMessageW(c_->hwnd, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

int ListBox::TopIndex() const {
  return static_cast<int>(
      SendMessageW(c_->hwnd, IsCombo() ? CB_GETTOPINDEX : LB_GETTOPINDEX, 0, 0));
}

WideString StatusBar::PanelText() const {
  const auto length = LOWORD(SendMessageW(c_->hwnd, SB_GETTEXTLENGTHW, 0, 0));
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  SendMessageW(c_->hwnd, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer.data()));
  WideString text(buffer.data());
  if (!text.empty() && text[0] == L'\t') text.erase(0, 1);
  return text;
}

void StatusBar::SetPanelText(WideStringView text) const {
  // A leading tab centres the text in its part.
  const WideString centred = L"\t" + WideString(text);
  SendMessageW(c_->hwnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(centred.c_str()));
}

}  // namespace stamplets::win
