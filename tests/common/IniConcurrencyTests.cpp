// Several processes writing distinct keys to one file at the same time lose
// nothing: TTntIniFile serialises its operations on a file across processes.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TntIniFiles.h"

namespace stamplets {
namespace {

TEST(IniConcurrency, FourWritersOfFiveHundredKeysEachLoseNothing) {
  constexpr int kWriters = 4;
  constexpr int kKeys = 500;
  test::TempDir dir;
  const WideString path = dir / L"base.ini";
  std::vector<std::vector<WideString>> commands;
  for (int w = 0; w < kWriters; ++w)
    commands.push_back(
        {test::SiblingProgram("IniWriter"), path, L"writer" + IntToWide(w), IntToWide(kKeys)});
  for (int code : test::RunConcurrently(commands))
    EXPECT_EQ(code, 0);

  TTntIniFile ini(path);
  auto pairs = ini.ReadSectionPairs(L"Files", L"");
  EXPECT_EQ(pairs.size(), static_cast<size_t>(kWriters * kKeys));
  for (int w = 0; w < kWriters; ++w)
    for (int i = 0; i < kKeys; i += 37) {
      const WideString key = L"writer" + IntToWide(w) + L"-" + IntToWide(i);
      EXPECT_EQ(ini.ReadString(L"Files", key, L"missing"), IntToWide(i % 10 + 1))
          << WideToUtf8(key);
    }
}

}  // namespace
}  // namespace stamplets
