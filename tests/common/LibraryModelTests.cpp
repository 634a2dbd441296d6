// The Library page's logic without a window: loading the store's records,
// the activation check, the validity rules and which records "Remove
// invalid" takes out, and the order of rows sorted by a column's text.
#include <gtest/gtest.h>

#include "LibraryModel.h"
#include "RowOrder.h"
#include "System.h"
#include "TestSupport.h"

namespace stamplets {
namespace {

using test::TempDir;
using test::Utf16File;
using test::WriteBytes;

TEST(VolumeRoot, NamesTheDriveShareOrHostRoot) {
  const struct {
    const wchar_t* path;
    const wchar_t* root;
  } cases[] = {
      {L"C:\\Users\\a.txt", L"C:\\"},
      {L"d:/x", L"d:\\"},
      {L"C:\\", L"C:\\"},
      {L"\\\\server\\share\\folder\\a.txt", L"\\\\server\\share\\"},
      {L"\\\\server\\share", L"\\\\server\\share\\"},
      {L"\\\\server", L""},
      {L"\\\\\\share", L""},
      {L"/home/user/a", L"/"},
      {L"relative\\a.txt", L""},
      {L"C:", L""},
      {L"", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(VolumeRootOf(c.path), c.root) << WideToUtf8(c.path);
}

TEST(PathRules, MarkAndRemovalFollowTheState) {
  const WideString long_path = L"C:\\folder\\file.txt";
  const struct {
    WideString path;
    PathState state;
    bool looks_valid;
    bool removed;
  } cases[] = {
      {long_path, PathState::kExists, true, false},
      {long_path, PathState::kMissing, false, true},
      // A drive that is not there or a share that does not answer decides
      // nothing: the record stays and carries no mark.
      {long_path, PathState::kUnreachable, true, false},
      {long_path, PathState::kUnknown, true, false},
      // A drive root is kept even when missing; shorter paths look valid but
      // go when missing.
      {L"Q:\\", PathState::kMissing, true, false},
      {L"ab", PathState::kMissing, true, true},
      {L"abcd", PathState::kMissing, false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PathLooksValid(c.path, c.state), c.looks_valid) << WideToUtf8(c.path);
    EXPECT_EQ(RemovedAsInvalid(c.path, c.state), c.removed) << WideToUtf8(c.path);
  }
}

TEST(DirectPathProber, TellsMissingFromUnreachable) {
  TempDir dir;
  WriteBytes(dir / L"here.txt", "x");
  test::MakeDir(dir / L"sub");
  DirectPathProber prober;
  EXPECT_EQ(prober.Probe(dir / L"here.txt"), PathState::kExists);
  EXPECT_EQ(prober.Probe(dir / L"sub"), PathState::kExists);
  EXPECT_EQ(prober.Probe(dir / L"gone.txt"), PathState::kMissing);
  // A path under a deleted folder is gone too: its volume answers.
  EXPECT_EQ(prober.Probe(dir / L"gone\\deeper\\file.txt"), PathState::kMissing);
  EXPECT_EQ(prober.Probe(L"\\\\no-such-server-here\\share\\file.txt"), PathState::kUnreachable);
}

class StoreFixture : public ::testing::Test {
 protected:
  void WriteStore(const WideString& lines) {
    WriteBytes(store_.Path(), Utf16File(L"[Files]\r\n" + lines));
  }
  TempDir dir_;
  StampletStore store_{dir_ / L"base.ini"};
};

TEST_F(StoreFixture, LoadKeepsFileOrderValuesAndExactKeys) {
  WriteStore(L"C:\\b.txt=3\r\nC:\\a.txt=10\r\nC:\\\x0416\x2603.txt=7\r\nC:\\odd.txt=x\r\n");
  LibraryModel model;
  model.Load(store_);
  ASSERT_EQ(model.Size(), 4u);
  EXPECT_EQ(model.Record(0), (StampletRecord{L"C:\\b.txt", L"3"}));
  EXPECT_EQ(model.Record(1), (StampletRecord{L"C:\\a.txt", L"10"}));
  EXPECT_EQ(model.Record(2).path, L"C:\\\x0416\x2603.txt");
  EXPECT_EQ(model.Record(3).value, L"x");
  EXPECT_EQ(model.Keys(), (std::vector<WideString>{L"C:\\b.txt", L"C:\\a.txt",
                                                   L"C:\\\x0416\x2603.txt", L"C:\\odd.txt"}));
}

TEST_F(StoreFixture, MissingStoreLoadsNothing) {
  LibraryModel model;
  model.Load(store_);
  EXPECT_EQ(model.Size(), 0u);
  EXPECT_FALSE(StoreKeysChanged(store_, {}));
}

TEST_F(StoreFixture, ChangeCheckCountsPathsAndTheirOrderOnly) {
  WriteStore(L"C:\\one.txt=1\r\nC:\\two.txt=2\r\n");
  LibraryModel model;
  model.Load(store_);
  const std::vector<WideString> keys = model.Keys();
  EXPECT_FALSE(StoreKeysChanged(store_, keys));

  store_.Set(L"C:\\two.txt", 9);  // only a number changed
  EXPECT_FALSE(StoreKeysChanged(store_, keys));

  store_.Set(L"C:\\three.txt", 3);  // a path was added by someone else
  EXPECT_TRUE(StoreKeysChanged(store_, keys));

  WriteStore(L"C:\\two.txt=2\r\nC:\\one.txt=1\r\n");  // the same paths, reordered
  EXPECT_TRUE(StoreKeysChanged(store_, keys));

  WriteStore(L"C:\\one.txt=1\r\n");  // one removed
  EXPECT_TRUE(StoreKeysChanged(store_, keys));
}

TEST_F(StoreFixture, InvalidKeysKeepRootsExistingAndUnreachablePaths) {
  const WideString existing = dir_ / L"\x0416\x2603 \x05D0.txt";  // outside any 8-bit code page
  WriteBytes(existing, "x");
  const WideString missing = dir_ / L"deleted.txt";
  const WideString under_deleted_folder = dir_ / L"old\\file.txt";
  const WideString unreachable = L"\\\\no-such-server-here\\share\\file.txt";
  const std::vector<WideString> keys = {L"Q:\\",     existing, missing, under_deleted_folder,
                                        unreachable, L"zz"};
  DirectPathProber prober;
  EXPECT_EQ(InvalidKeys(keys, prober),
            (std::vector<WideString>{missing, under_deleted_folder, L"zz"}));
}

TEST_F(StoreFixture, ValidityIsAskedOncePerRecordAndLoad) {
  struct CountingProber : PathProber {
    PathState Probe(const WideString&) override {
      ++asked;
      return PathState::kMissing;
    }
    int asked = 0;
  } prober;
  LibraryModel model;
  model.Assign({{L"C:\\gone\\a.txt", L"1"}, {L"C:\\", L"2"}});
  EXPECT_EQ(model.ValidityText(0, prober), L"!");
  EXPECT_EQ(model.ValidityText(0, prober), L"!");
  EXPECT_EQ(model.ValidityText(1, prober), L"");  // short: never asked
  EXPECT_EQ(prober.asked, 1);
  EXPECT_EQ(model.KnownStateOf(0), PathState::kMissing);
  model.Assign({{L"C:\\gone\\a.txt", L"1"}});
  EXPECT_EQ(model.KnownStateOf(0), PathState::kUnknown);
}

TEST(RowOrder, SortsStablyWithoutRegardToCase) {
  // Long equal beginnings, a difference at every position of the word-wise
  // skip, a prefix, and units beyond the basic plane's letters.
  const WideString base = L"C:\\Users\\someone\\Documents\\Folder ";
  const std::vector<WideString> texts = {
      L"b", L"A", L"a", L"C", L"B", base + L"b", base + L"A", base, base + L"\x0416", base + L"a1"};
  const std::vector<WideString> keys = FoldForSort(texts);
  const std::vector<std::uint32_t> ranks = RankForSort(keys);
  EXPECT_EQ(ranks, (std::vector<std::uint32_t>{1, 0, 0, 2, 1, 6, 4, 3, 7, 5}));
  std::vector<std::size_t> order = {0, 1, 2, 3, 4};
  SortRowOrder(order, ranks, false);
  EXPECT_EQ(order, (std::vector<std::size_t>{1, 2, 0, 4, 3}));
  SortRowOrder(order, ranks, true);
  EXPECT_EQ(order, (std::vector<std::size_t>{3, 0, 4, 1, 2}));
}

}  // namespace
}  // namespace stamplets
