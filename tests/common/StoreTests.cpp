// The stamplet store on a temporary installation folder, on both targets.
#include <gtest/gtest.h>

#include "InstallFolder.h"
#include "StampletStore.h"
#include "TestSupport.h"
#include "TntIniFiles.h"

namespace stamplets {
namespace {

class Store : public ::testing::Test {
 protected:
  test::TempDir dir_;
  InstallFolder folder_{dir_.Path()};
  StampletStore store_{folder_.File(files::kStore)};
};

TEST_F(Store, AMissingStoreReadsEmptyAndIsNotCreatedByReading) {
  EXPECT_EQ(store_.Read(L"C:\\a.txt"), 0);
  EXPECT_TRUE(store_.List().empty());
  EXPECT_TRUE(store_.ListPaths().empty());
  EXPECT_TRUE(store_.Remove({L"C:\\a.txt"}).empty());
  store_.Clear(L"C:\\a.txt");
  EXPECT_FALSE(test::Exists(store_.Path()));
}

TEST_F(Store, SetClearAndReadFollowTheNumber) {
  store_.Set(L"C:\\Docs\\three.txt", 3);
  store_.Set(L"C:\\Docs\\ten.txt", 10);
  TTntIniFile ini(store_.Path());
  EXPECT_EQ(ini.ReadString(L"Files", L"C:\\Docs\\three.txt", L""), L"3");
  EXPECT_EQ(ini.ReadString(L"Files", L"C:\\Docs\\ten.txt", L""), L"10");
  EXPECT_EQ(store_.Read(L"c:\\DOCS\\TEN.TXT"), 10);  // another letter case, same key

  store_.Clear(L"C:\\Docs\\three.txt");
  EXPECT_EQ(store_.Read(L"C:\\Docs\\three.txt"), 0);
  const std::vector<StampletRecord> expected = {{L"C:\\Docs\\ten.txt", L"10"}};
  EXPECT_EQ(store_.List(), expected);
}

TEST_F(Store, ListingKeepsFileOrderAndValuesAsStored) {
  test::WriteBytes(store_.Path(), test::Utf16File(L"[Files]\r\nC:\\b=7\r\nC:\\a=abc\r\n"
                                                  L"C:\\c=05\r\n"));
  const std::vector<StampletRecord> expected = {
      {L"C:\\b", L"7"}, {L"C:\\a", L"abc"}, {L"C:\\c", L"05"}};
  EXPECT_EQ(store_.List(), expected);
  EXPECT_EQ(store_.ListPaths(), (std::vector<WideString>{L"C:\\b", L"C:\\a", L"C:\\c"}));
  EXPECT_EQ(store_.Read(L"C:\\a"), 0);  // not a number
  EXPECT_EQ(store_.Read(L"C:\\c"), 5);
}

TEST_F(Store, APathWithAnEqualsSignIsRefusedAndNothingIsWritten) {
  store_.Set(L"C:\\keep.txt", 1);
  const std::string before = test::ReadBytes(store_.Path());
  EXPECT_THROW(store_.Set(L"C:\\a=b.txt", 4), EStoreKeyError);
  EXPECT_EQ(test::ReadBytes(store_.Path()), before);
  EXPECT_THROW(store_.Set(L"C:\\keep.txt", 11), std::invalid_argument);
}

TEST_F(Store, APathOutsideTheAnsiCodePageRoundTrips) {
  const WideString path = L"C:\\Документы\\日本\\файл.txt";
  store_.Set(path, 6);
  EXPECT_EQ(store_.Read(path), 6);
  EXPECT_EQ(store_.List(), (std::vector<StampletRecord>{{path, L"6"}}));
  EXPECT_EQ(test::ReadBytes(store_.Path()).substr(0, 2), "\xFF\xFE");
}

TEST_F(Store, RemoveDeletesTheGivenPathsAndReportsNoneKept) {
  for (int i = 1; i <= 4; ++i)
    store_.Set(L"C:\\f" + IntToWide(i), i);
  EXPECT_TRUE(store_.Remove({L"C:\\F2", L"C:\\f4", L"C:\\gone"}).empty());
  EXPECT_EQ(store_.ListPaths(), (std::vector<WideString>{L"C:\\f1", L"C:\\f3"}));
}

}  // namespace
}  // namespace stamplets
