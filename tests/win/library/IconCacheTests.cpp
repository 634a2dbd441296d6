// Icons for the grid's stamplet column: read once per file until cleared.
#include <gtest/gtest.h>

#include "IconCache.h"
#include "TestSupport.h"

namespace stamplets::win {
namespace {

// A 16 x 16 icon file of one 32-bit image.
std::string IconFileBytes() {
  std::string bytes;
  auto put16 = [&](unsigned v) { bytes.append({char(v & 0xFF), char(v >> 8)}); };
  auto put32 = [&](unsigned v) { put16(v & 0xFFFF), put16(v >> 16); };
  const unsigned image_size = 40 + 16 * 16 * 4 + 16 * 4;
  put16(0), put16(1), put16(1);                                    // header: one icon
  bytes += std::string{16, 16, 0, 0}, put16(1), put16(32);         // 16x16, 32 bits
  put32(image_size), put32(6 + 16);                                // size, offset
  put32(40), put32(16), put32(32), put16(1), put16(32), put32(0);  // BITMAPINFOHEADER
  put32(0), put32(0), put32(0), put32(0), put32(0);
  for (int i = 0; i < 16 * 16; ++i)
    put32(0xFF2060C0);                 // opaque colour
  bytes += std::string(16 * 4, '\0');  // AND mask
  return bytes;
}

TEST(IconCache, LoadsEachFileOnceUntilCleared) {
  test::TempDir dir;
  const WideString file = dir / L"7.ico";
  test::WriteBytes(file, IconFileBytes());
  TIconCache cache;
  HICON first = cache.Get(file, 14);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache.Get(file, 14), first);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(first, &info));
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 14);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  // A missing file, or a value that names no number, gives nothing, once.
  EXPECT_EQ(cache.Get(dir / L"x.ico", 14), nullptr);
  test::WriteBytes(dir / L"x.ico", IconFileBytes());
  EXPECT_EQ(cache.Get(dir / L"x.ico", 14), nullptr);

  cache.Clear();
  EXPECT_EQ(cache.Size(), 0u);
  EXPECT_NE(cache.Get(dir / L"x.ico", 14), nullptr);
}

}  // namespace
}  // namespace stamplets::win
