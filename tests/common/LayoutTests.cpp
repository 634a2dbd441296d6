// The manager's window arithmetic: anchors, page-button captions, keeping a
// saved window on a monitor, and the packed-theme argument.
#include <gtest/gtest.h>

#include "Layout.h"

namespace stamplets::layout {
namespace {

TEST(Anchors, FollowTheParentEdgesTheyAreTiedTo) {
  const Rect placed{10, 20, 100, 50};
  const Size then{300, 200};
  const Size now{350, 260};  // 50 wider, 60 higher
  struct Case {
    unsigned anchors;
    Rect expected;
  } cases[] = {
      {kLeft | kTop, {10, 20, 100, 50}},
      {kRight | kTop, {60, 20, 100, 50}},
      {kLeft | kBottom, {10, 80, 100, 50}},
      {kRight | kBottom, {60, 80, 100, 50}},
      {kLeft | kTop | kRight, {10, 20, 150, 50}},
      {kTop | kRight | kBottom, {60, 20, 100, 110}},
      {kAllSides, {10, 20, 150, 110}},
      {kBottom, {10, 80, 100, 50}},
      {0, {10, 20, 100, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.anchors);
    EXPECT_EQ(Anchored(placed, then, now, c.anchors), c.expected);
  }
}

TEST(Anchors, ShrinkingNeverGivesANegativeSize) {
  EXPECT_EQ(Anchored({10, 10, 40, 30}, {300, 200}, {100, 100}, kAllSides), (Rect{10, 10, 0, 0}));
  // Back to the old size: the original bounds, not an accumulated drift.
  EXPECT_EQ(Anchored({10, 10, 40, 30}, {300, 200}, {300, 200}, kAllSides), (Rect{10, 10, 40, 30}));
}

TEST(PageButtonCaption, OneLineAtY42) {
  const auto lines = PageButtonCaptionLines(L"Library", 13);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, L"Library");
  EXPECT_EQ(lines[0].y, 42);
}

TEST(PageButtonCaption, LineFeedSplitsIntoTwoLines) {
  struct Case {
    const wchar_t* text;
    const wchar_t* first;
    const wchar_t* second;
  } cases[] = {
      // What the translation makes of "/n": a line feed, then a return.
      {L"\u00DCber das\n\rProgramm", L"\u00DCber das", L"Programm"},
      {L"A\nB", L"A", L"B"},
      {L"Two\r\nlines", L"Two", L"lines"},
      {L"Trailing\n", L"Trailing", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.text));
    const auto lines = PageButtonCaptionLines(c.text, 13);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, c.first);
    EXPECT_EQ(lines[0].y, 37);
    EXPECT_EQ(lines[1].text, c.second);
    EXPECT_EQ(lines[1].y, 13 + 38);
  }
}

TEST(PageButtonCaption, CentringTruncatesTowardZero) {
  EXPECT_EQ(CentredX(77, 40), 18);
  EXPECT_EQ(CentredX(77, 41), 18);
  EXPECT_EQ(CentredX(77, 80), -1);  // a caption wider than the button
}

TEST(SavedPlacement, StaysOnAMonitorOrMovesToTheDefaultPlace) {
  const std::vector<Rect> monitors{{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
  struct Case {
    Rect saved;
    Rect expected;
  } cases[] = {
      {{100, 100, 640, 480}, {100, 100, 640, 480}},
      {{2000, 200, 640, 480}, {2000, 200, 640, 480}},    // the second monitor
      {{-600, -400, 640, 480}, {-600, -400, 640, 480}},  // a corner still shows
      {{3300, 100, 640, 480}, {0, 0, 640, 480}},         // right of every monitor
      {{-20000, -20000, 700, 500}, {0, 0, 700, 500}},    // a monitor that was unplugged
      {{-640, 0, 640, 480}, {0, 0, 640, 480}},           // touching is not overlapping
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.saved.left);
    EXPECT_EQ(KeepOnMonitors(c.saved, monitors), c.expected);
  }
  EXPECT_EQ(KeepOnMonitors({5, 5, 10, 10}, {}), (Rect{0, 0, 10, 10}));
}

TEST(CommandLine, OnlyAQmzExtensionInAnyCaseNamesAPackedTheme) {
  struct Case {
    const wchar_t* argument;
    bool packed;
  } cases[] = {
      {L"x.qmz", true},
      {L"X.QMZ", true},
      {L"C:\\themes\\Blue.QmZ", true},
      {L"x.zip", false},
      {L"qmz", false},
      {L"x.qmz.zip", false},
      {L"C:\\a.qmz\\theme", false},  // the dot belongs to
                                     // a folder
      {L"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.argument));
    EXPECT_EQ(IsPackedThemeArgument(c.argument), c.packed);
  }
}

}  // namespace
}  // namespace stamplets::layout
