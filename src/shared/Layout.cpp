#include "Layout.h"

namespace stamplets::layout {

namespace {

// One axis of Anchored: position and extent along it.
void AnchorAxis(int& position, int& extent, int then, int now, bool near, bool far) {
  const int grown = now - then;
  if (near && far) {
    extent += grown;
  } else if (far) {
    position += grown;
  }
}

WideString WithoutLineBreaks(WideStringView s) {
  WideString out;
  for (wchar_t c : s)
    if (c != L'\n' && c != L'\r') out.push_back(c);
  return out;
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

}  // namespace

Rect Anchored(const Rect& placed, Size parent_then, Size parent_now, unsigned anchors) {
  Rect r = placed;
  AnchorAxis(r.left, r.width, parent_then.width, parent_now.width, anchors & kLeft,
             anchors & kRight);
  AnchorAxis(r.top, r.height, parent_then.height, parent_now.height, anchors & kTop,
             anchors & kBottom);
  if (r.width < 0) r.width = 0;
  if (r.height < 0) r.height = 0;
  return r;
}

std::vector<CaptionLine> PageButtonCaptionLines(WideStringView text, int wg_height) {
  const auto feed = text.find(L'\n');
  if (feed == WideStringView::npos) return {{WideString(text), 42}};
  // p counts from 1; both lines are cut from the trimmed text with lengths
  // taken from the untrimmed one.
  const std::size_t p = feed + 1;
  const WideString trimmed = TrimControls(text);
  const std::size_t second_length = text.size() - p;
  WideString first = trimmed.substr(0, p);
  WideString second =
      second_length >= trimmed.size() ? trimmed : trimmed.substr(trimmed.size() - second_length);
  return {{WithoutLineBreaks(first), 37}, {WithoutLineBreaks(second), wg_height + 38}};
}

Rect KeepOnMonitors(const Rect& saved, const std::vector<Rect>& monitors) {
  for (const Rect& monitor : monitors)
    if (Overlap(saved, monitor)) return saved;
  return Rect{0, 0, saved.width, saved.height};
}

WideString FileExtension(WideStringView name) {
  const auto dot = name.find_last_of(L".\\/:");
  if (dot == WideStringView::npos || name[dot] != L'.') return {};
  return WideString(name.substr(dot));
}

bool IsPackedThemeArgument(WideStringView argument) {
  return UpperCase(FileExtension(argument)) == L".QMZ";
}

}  // namespace stamplets::layout
