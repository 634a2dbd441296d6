// Registry tables and tree removal, in a scratch key under HKCU.
#include <gtest/gtest.h>

#include "Handles.h"
#include "Registry.h"

namespace stamplets::win {
namespace {

class ScratchKey : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = L"Software\\StampletsTests\\" + std::to_wstring(GetCurrentProcessId());
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, root_.put(), nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    root_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, name_.c_str());
  }
  WideString name_;
  unique_hkey root_;
};

TEST_F(ScratchKey, TablesAreWrittenInOrderAndReadBack) {
  const RegistryEntry entries[] = {
      {root_.get(), L"A\\B", L"", L"default"},
      {root_.get(), L"A\\B", L"Named", L"value"},
      {root_.get(), L"A\\B", L"Named", L"later wins"},
      {root_.get(), L"*\\C", L"", L"star"},
  };
  WriteRegistryEntries(entries);
  EXPECT_EQ(ReadRegistryString(root_.get(), L"A\\B", L""), L"default");
  EXPECT_EQ(ReadRegistryString(root_.get(), L"A\\B", L"Named"), L"later wins");
  EXPECT_EQ(ReadRegistryString(root_.get(), L"*\\C", L""), L"star");
  EXPECT_EQ(ReadRegistryString(root_.get(), L"A", L""), std::nullopt);
  EXPECT_EQ(ReadRegistryString(root_.get(), L"Missing", L"x"), std::nullopt);
  EXPECT_TRUE(WriteOptionalRegistryValue({root_.get(), L"D", L"{id}", L"approved"}));
  EXPECT_EQ(ReadRegistryString(root_.get(), L"D", L"{id}"), L"approved");
}

TEST_F(ScratchKey, RemovalTakesWholeTreesAndCountsMissingAsDone) {
  const RegistryEntry entries[] = {
      {root_.get(), L"T\\Sub\\Deeper", L"v", L"1"},
      {root_.get(), L"T", L"w", L"2"},
      {root_.get(), L"Keep", L"", L"3"},
  };
  WriteRegistryEntries(entries);
  EXPECT_TRUE(DeleteRegistryTree(root_.get(), L"T"));
  unique_hkey gone;
  EXPECT_EQ(RegOpenKeyExW(root_.get(), L"T", 0, KEY_READ, gone.put()), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadRegistryString(root_.get(), L"Keep", L""), L"3");
  EXPECT_TRUE(DeleteRegistryTree(root_.get(), L"T"));
  EXPECT_TRUE(DeleteRegistryValue(root_.get(), L"Keep", L"absent"));
  EXPECT_TRUE(DeleteRegistryValue(root_.get(), L"NoSuchKey", L"absent"));
  EXPECT_TRUE(DeleteRegistryValue(root_.get(), L"Keep", L""));
  EXPECT_EQ(ReadRegistryString(root_.get(), L"Keep", L""), std::nullopt);
}

TEST_F(ScratchKey, AKeyThatCannotBeCreatedRaisesAndKeepsWhatWasWritten) {
  unique_hkey read_only;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, KEY_READ, read_only.put()),
            ERROR_SUCCESS);
  const RegistryEntry entries[] = {
      {root_.get(), L"First", L"", L"written"},
      {HKEY(nullptr), L"Second", L"", L"refused"},
  };
  EXPECT_THROW(WriteRegistryEntries(entries), ERegistryException);
  EXPECT_EQ(ReadRegistryString(root_.get(), L"First", L""), L"written");
  EXPECT_FALSE(WriteOptionalRegistryValue({HKEY(nullptr), L"D", L"{id}", L"x"}));
}

}  // namespace
}  // namespace stamplets::win
