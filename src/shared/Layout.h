// Window arithmetic of the manager that needs no window: anchoring a child
// to its parent's edges, the lines of a page-button caption, keeping a saved
// window on a monitor, and the command-line check for a packed theme.
#pragma once

#include <vector>

#include "WideText.h"

namespace stamplets::layout {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const Rect&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

enum Anchor : unsigned { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };
inline constexpr unsigned kAllSides = kLeft | kTop | kRight | kBottom;

// Where a child placed at `placed` while its parent's client area was
// `parent_then` goes when that area becomes `parent_now`. Anchored to both
// edges of an axis it stretches; to the far edge only it moves; otherwise it
// stays.
Rect Anchored(const Rect& placed, Size parent_then, Size parent_now, unsigned anchors);

// One line of a page-button caption: its text and the y of its top.
struct CaptionLine {
  WideString text;
  int y = 0;
};

// The lines of a page-button caption: the whole text at y 42 when it holds no
// line feed; otherwise two lines split at the first line feed, at y 37 and at
// `wg_height` + 38, with line feeds and carriage returns removed.
std::vector<CaptionLine> PageButtonCaptionLines(WideStringView text, int wg_height);

// x of a text centred on a picture, halved with truncation toward zero.
inline int CentredX(int picture_width, int text_width) {
  return (picture_width - text_width) / 2;
}

// The bounds to open a saved window at: as saved when they overlap at least
// one monitor, otherwise moved to the default place (0, 0) with their size.
Rect KeepOnMonitors(const Rect& saved, const std::vector<Rect>& monitors);

// The extension of a file name: from its last "." after the last "\", "/" or
// ":", dot included; empty when there is none.
WideString FileExtension(WideStringView name);
// True when the command-line argument names a packed theme: its extension is
// ".QMZ" in any letter case.
bool IsPackedThemeArgument(WideStringView argument);

}  // namespace stamplets::layout
