// A top-level window that owns its child controls by their designer names.
//
// The controls are made from a table of rows (kind, name, parent, bounds,
// anchors, caption, hint, look). The form keeps one record per control: its
// window, where it was placed, its anchors, hint, font and pictures, and the
// handlers bound to its events. Child notifications (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, colours) reach the form through every
// container and are decoded once here into the record's handlers. A handler
// that throws is reported through the error reporter and the message gets
// its default answer.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Handles.h"
#include "Layout.h"
#include "WideText.h"

namespace stamplets::win {

enum class ControlKind {
  kPanel,      // a container without bevel
  kGroupBox,   // a container with an etched frame and a caption
  kPicture,    // a bitmap or an icon; clicks
  kLabel,      // text sized to fit; clicks; optionally drawn as a link
  kShape,      // a rectangle filled with the button-shadow colour
  kSplitter,   // a vertical bar that moves the edge between two controls
  kButton,     // push button
  kCheckBox,   // two-state check box
  kEdit,       // one-line edit field
  kMemo,       // multi-line edit field with a vertical scroll bar
  kListBox,    // owner-drawn list box, rows of variable height
  kComboBox,   // owner-drawn drop-down list, items of variable height
  kStatusBar,  // one centred panel, docked at the bottom
  kListView,   // report-view list view
  kCustom,     // a window of the class named in ControlSpec::window_class
};

// Look flags of a table row.
enum ControlFlag : unsigned {
  kHidden = 1u << 0,
  kLinkLook = 1u << 1,      // underlined, link colour, hand cursor
  kRightJustify = 1u << 2,  // label text aligned right; sizing keeps the right edge
  kReadOnly = 1u << 3,
  kChecked = 1u << 4,
  kCentred = 1u << 5,     // picture drawn in the middle
  kHandCursor = 1u << 6,  // hand cursor without the link look
};

// A font of its own; a row without a face uses the form's font.
struct FontSpec {
  const wchar_t* face = nullptr;
  int height = 0;  // pixels, as a negative LOGFONT height
  bool bold = false;
};

struct ControlSpec {
  ControlKind kind;
  const wchar_t* name;
  const wchar_t* parent;  // nullptr: the form
  int left, top, width, height;
  unsigned anchors = layout::kLeft | layout::kTop;
  const wchar_t* text = L"";
  const wchar_t* hint = L"";
  unsigned flags = 0;
  FontSpec font = {};
  const wchar_t* window_class = nullptr;  // kCustom only
};

struct DrawItemArgs {
  HDC dc;
  int index;
  RECT rect;
  UINT state;  // ODS_SELECTED, ODS_FOCUS, ...
  HWND control;
};

class Form;

// What the form keeps for one control. The form owns the record and the
// window; views point at the record.
struct Control {
  Form* form = nullptr;
  int index = 0;
  ControlKind kind = ControlKind::kPanel;
  WideString name;
  Control* parent = nullptr;
  HWND hwnd = nullptr;
  unsigned anchors = 0;
  unsigned flags = 0;
  WideString hint;
  FontSpec font_spec;
  unique_hfont own_font;
  // Bounds as last placed, and the parent's client size at that moment.
  layout::Rect placed;
  layout::Size parent_then;
  // Pictures.
  unique_hbitmap bitmap;
  unique_hicon icon;
  // Combo box: height of the selection field.
  int field_height = 0;
  // Splitter: the controls left and right of it, and whether its button shows.
  Control* split_before = nullptr;
  Control* split_after = nullptr;
  bool splitter_button = true;
  bool dragging = false;
  int grab_x = 0;  // where the splitter bar was grabbed
  bool pressed = false;

  std::function<void()> on_click;
  std::function<void()> on_dbl_click;
  std::function<void()> on_change;
  std::function<void(int index, int& height)> on_measure_item;
  std::function<void(const DrawItemArgs&)> on_draw_item;
  std::function<void(HDC dc, const RECT& clip)> on_paint;
  std::function<LRESULT(NMHDR*)> on_notify;
};

class Form {
 public:
  Form();
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Handle() const { return hwnd_; }
  Control* Find(WideStringView name) const;
  Control& Get(WideStringView name) const;  // throws std::out_of_range
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

  // The form's font: every control without a font of its own follows it.
  HFONT Font() const { return font_.get(); }
  void SetFont(const LOGFONTW& font);

  WideString Caption() const;
  void SetCaption(WideStringView caption);

  // Outer bounds in screen pixels.
  layout::Rect Bounds() const;
  void SetBounds(const layout::Rect& bounds);
  // 0 normal, 1 minimized, 2 maximized; before the first Show the state is
  // kept and applied by it.
  int WindowState() const;
  void SetWindowState(int state);
  void SetMinimumSize(int width, int height) { min_size_ = {width, height}; }

  // Shows the window for the first time (or again).
  void Show();
  // The hint of the control under the mouse, walking up to the first parent
  // that has one.
  const WideString& Hint() const { return hint_; }
  void SetHint(WideStringView hint);
  // Re-places every control after a change of the client area.
  void Relayout();

  // Runs a handler; an exception leaving it goes to the error reporter.
  void Run(const std::function<void()>& handler) const;
  // The reporter of errors that leave handlers (the application's error box).
  std::function<void(const std::exception&)> report_error;

  // Common notifications a derived form answers.
  std::function<void()> on_resize;
  std::function<void(bool by_mouse)> on_activate;
  std::function<void()> on_hint;
  std::function<void()> on_destroy;
  std::function<void()> on_show;
  // After the window is gone (the program's cue to end its message loop).
  std::function<void()> on_closed;

  // Called once by Show before the window first appears.
  bool Shown() const { return shown_; }

 protected:
  // Makes the window (hidden) with the given client size, then every row.
  void CreateForm(WideStringView caption, int client_width, int client_height,
                  const ControlSpec* rows, std::size_t count);

 private:
  friend struct FormAccess;
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  void CreateControl(const ControlSpec& row);
  HFONT FontOf(const Control& control) const;
  void ApplyFonts();

  HWND hwnd_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
  unique_hfont font_;
  layout::Size client_then_;
  layout::Size min_size_;
  int pending_state_ = 0;
  bool shown_ = false;
  WideString hint_;
  Control* hover_ = nullptr;
};

// Internal plumbing shared by Form.cpp and Controls.cpp.
struct FormAccess {
  // Routes a message that a container received from one of its children.
  static bool RouteChildMessage(Form& form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  static void MouseOver(Form& form, Control* control);
  static void SizeLabelToText(Control& control);
  static HFONT FontOf(const Control& control);
};

// Client size of a window.
layout::Size ClientSize(HWND hwnd);
// The picture windows' classes and the containers' share one thunk.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
void RegisterControlClasses();

}  // namespace stamplets::win
