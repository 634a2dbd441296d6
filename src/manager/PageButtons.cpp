// The strip of five page buttons: pictures drawn anew on every page switch.
#include "Unit1.h"

#include "Layout.h"
#include "Translation.h"

namespace stamplets::manager {

using win::unique_hbitmap;
using win::unique_hdc;
using win::unique_hfont;
using win::unique_hgdiobj;

namespace {

constexpr int kButtonWidth = 77;
constexpr int kButtonHeight = 67;

struct Page {
  win::Picture TForm1::*button;
  win::Panel TForm1::*panel;
  win::Picture TForm1::*icon;
  const wchar_t* caption;
};

constexpr Page kPages[] = {
    {&TForm1::t_1, &TForm1::p_1, &TForm1::i_1, L"Library"},
    {&TForm1::t_2, &TForm1::p_2, &TForm1::i_2, L"Themes"},
    {&TForm1::t_3, &TForm1::p_3, &TForm1::i_3, L"About"},
    {&TForm1::t_4, &TForm1::p_4, &TForm1::i_4, L"Language"},
    {&TForm1::t_5, &TForm1::p_5, &TForm1::i_5, L"Settings"},
};

// A button-sized bitmap filled with a system colour.
unique_hbitmap FilledPicture(HDC screen, int colour) {
  unique_hbitmap bitmap(CreateCompatibleBitmap(screen, kButtonWidth, kButtonHeight));
  unique_hdc dc(CreateCompatibleDC(screen));
  win::SelectObjectScope select(dc.get(), bitmap.get());
  RECT all{0, 0, kButtonWidth, kButtonHeight};
  FillRect(dc.get(), &all, GetSysColorBrush(colour));
  return bitmap;
}

}  // namespace

void TForm1::DrawButtonCaption(HDC picture, SIZE picture_size, WideStringView text) {
  // The picture's own default font: Tahoma 11 pixels high, black.
  LOGFONTW lf{};
  lf.lfHeight = -11;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"Tahoma");
  unique_hfont font(CreateFontIndirectW(&lf));
  win::SelectObjectScope select(picture, font.get());
  SetBkMode(picture, TRANSPARENT);
  SetTextColor(picture, RGB(0, 0, 0));
  SIZE wg{};
  GetTextExtentPoint32W(picture, L"Wg", 2, &wg);
  for (const auto& line : layout::PageButtonCaptionLines(text, wg.cy)) {
    SIZE extent{};
    GetTextExtentPoint32W(picture, line.text.c_str(), static_cast<int>(line.text.size()), &extent);
    TextOutW(picture, layout::CentredX(picture_size.cx, extent.cx), line.y, line.text.c_str(),
             static_cast<int>(line.text.size()));
  }
}

void TForm1::ShowPage(int page) {
  if (page < 1 || page > 5) return;
  HDC screen = GetDC(nullptr);
  const SIZE size{kButtonWidth, kButtonHeight};
  auto draw_face = [&](HBITMAP bitmap, const Page& p) {
    unique_hdc dc(CreateCompatibleDC(screen));
    win::SelectObjectScope select(dc.get(), bitmap);
    const win::Picture& icon = this->*p.icon;
    if (icon.Icon()) {
      const SIZE own = icon.IconSize();
      DrawIconEx(dc.get(), 22, 5, icon.Icon(), own.cx, own.cy, 0, nullptr, DI_NORMAL);
    }
    DrawButtonCaption(dc.get(), size, LanguageSupport::Translate(p.caption));
  };

  // The selected look: a light face between two dark lines.
  unique_hbitmap selected = FilledPicture(screen, COLOR_3DLIGHT);
  {
    unique_hdc dc(CreateCompatibleDC(screen));
    win::SelectObjectScope select(dc.get(), selected.get());
    unique_hgdiobj pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW)));
    win::SelectObjectScope use_pen(dc.get(), pen.get());
    for (int x : {1, kButtonWidth - 1}) {
      MoveToEx(dc.get(), x, 0, nullptr);
      LineTo(dc.get(), x, kButtonHeight);
    }
  }
  unique_hbitmap normal[5];
  for (int i = 0; i < 5; ++i) {
    normal[i] = FilledPicture(screen, COLOR_BTNFACE);
    draw_face(normal[i].get(), kPages[i]);
  }
  draw_face(selected.get(), kPages[page - 1]);
  ReleaseDC(nullptr, screen);

  for (int i = 0; i < 5; ++i) {
    (this->*kPages[i].button).SetBitmap(i == page - 1 ? std::move(selected) : std::move(normal[i]));
  }
  // Only the chosen page is visible, in front of the others.
  const win::Panel& chosen = this->*kPages[page - 1].panel;
  chosen.BringToFront();
  chosen.SetVisible(true);
  for (int i = 0; i < 5; ++i)
    if (i != page - 1) (this->*kPages[i].panel).SetVisible(false);
}

int TForm1::ShownPage() const {
  for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    for (int i = 0; i < 5; ++i)
      if ((this->*kPages[i].panel).Handle() == child &&
          (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE))
        return i + 1;
  }
  return 0;
}

}  // namespace stamplets::manager
