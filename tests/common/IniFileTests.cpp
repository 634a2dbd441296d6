// One suite of INI behaviours for both engines of TTntIniFile: natively it
// runs the in-memory fallback, under Wine the real profile calls.
#include <gtest/gtest.h>

#include "System.h"
#include "TestSupport.h"
#include "TntIniFiles.h"

namespace stamplets {
namespace {

using test::TempDir;

class IniFile : public ::testing::Test {
 protected:
  WideString Path(WideStringView name = L"test.ini") const { return dir_ / name; }
  void Put(WideStringView text, WideStringView name = L"test.ini") const {
    test::WriteBytes(Path(name), test::Utf16File(text));
  }
  TempDir dir_;
};

TEST_F(IniFile, ReadingAMissingFileGivesDefaultsAndCreatesNothing) {
  TTntIniFile ini(Path());
  TTntStringList keys;
  keys.Add(L"stale");
  EXPECT_EQ(ini.ReadString(L"Files", L"x", L"dflt"), L"dflt");
  EXPECT_EQ(ini.ReadInteger(L"Files", L"x", 7), 7);
  ini.ReadSection(L"Files", keys);
  EXPECT_EQ(keys.Count(), 0);
  ini.DeleteKey(L"Files", L"x");
  ini.EraseSection(L"Files");
  ini.UpdateFile();
  EXPECT_FALSE(test::Exists(Path()));
}

TEST_F(IniFile, WritingCreatesTheFileSectionAndKeyAsUtf16) {
  {
    TTntIniFile ini(Path());
    ini.WriteString(L"Files", L"C:\\Ж\\файл.txt", L"7");
  }
  EXPECT_EQ(test::ReadBytes(Path()).substr(0, 2), "\xFF\xFE");
  TTntIniFile ini(Path());
  EXPECT_EQ(ini.ReadString(L"Files", L"C:\\Ж\\файл.txt", L""), L"7");
  TTntStringList keys;
  ini.ReadSection(L"Files", keys);
  ASSERT_EQ(keys.Count(), 1);
  EXPECT_EQ(keys[0], L"C:\\Ж\\файл.txt");
}

TEST_F(IniFile, SectionAndKeyNamesMatchWithoutRegardToCase) {
  TTntIniFile ini(Path());
  ini.WriteString(L"Files", L"C:\\Some\\Path", L"3");
  EXPECT_EQ(ini.ReadString(L"FILES", L"c:\\some\\path", L""), L"3");
  ini.WriteString(L"files", L"C:\\SOME\\PATH", L"4");
  TTntStringList keys;
  ini.ReadSection(L"Files", keys);
  EXPECT_EQ(keys.Count(), 1);
  EXPECT_EQ(ini.ReadString(L"Files", L"C:\\Some\\Path", L""), L"4");
}

TEST_F(IniFile, ReadIntegerAcceptsDecimalAndHexOnly) {
  struct Case {
    const wchar_t* stored;
    int expected;
  };
  const Case cases[] = {
      {L"0x1F", 31},  {L"$1f", 31},        {L"-5", -5}, {L"", 99},     {L"abc", 99},
      {L"12abc", 99}, {L"4294967296", 99}, {L"10", 10}, {L"0X10", 16}, {L"2147483647", INT32_MAX},
      {L"  42", 42}};
  TTntIniFile ini(Path());
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.stored));
    ini.WriteString(L"S", L"k", c.stored);
    EXPECT_EQ(ini.ReadInteger(L"S", L"k", 99), c.expected);
  }
}

TEST_F(IniFile, ReadBoolTreatsAnyNonZeroNumberAsTrue) {
  TTntIniFile ini(Path());
  ini.WriteBool(L"S", L"flag", true);
  EXPECT_EQ(ini.ReadString(L"S", L"flag", L""), L"1");
  EXPECT_TRUE(ini.ReadBool(L"S", L"flag", false));
  ini.WriteString(L"S", L"flag", L"2");
  EXPECT_TRUE(ini.ReadBool(L"S", L"flag", false));
  ini.WriteString(L"S", L"flag", L"abc");
  EXPECT_FALSE(ini.ReadBool(L"S", L"flag", false));
  EXPECT_TRUE(ini.ReadBool(L"S", L"flag", true));
  ini.WriteInteger(L"S", L"n", -5);
  EXPECT_EQ(ini.ReadString(L"S", L"n", L""), L"-5");
}

TEST_F(IniFile, DeleteKeyAndEraseSectionRemoveOnlyWhatTheyName) {
  TTntIniFile ini(Path());
  ini.WriteString(L"A", L"one", L"1");
  ini.WriteString(L"A", L"two", L"2");
  ini.WriteString(L"B", L"three", L"3");
  ini.DeleteKey(L"A", L"ONE");
  TTntStringList keys;
  ini.ReadSection(L"A", keys);
  ASSERT_EQ(keys.Count(), 1);
  EXPECT_EQ(keys[0], L"two");
  ini.EraseSection(L"a");
  TTntStringList sections;
  ini.ReadSections(sections);
  ASSERT_EQ(sections.Count(), 1);
  EXPECT_EQ(sections[0], L"B");
}

TEST_F(IniFile, LongValuesReadBackCutTo2047Characters) {
  TTntIniFile ini(Path());
  WideString value(3000, L'v');
  ini.WriteString(L"S", L"long", value);
  EXPECT_EQ(ini.ReadString(L"S", L"long", L""), value.substr(0, 2047));
}

TEST_F(IniFile, A100000KeySectionIsListedWhole) {
  constexpr int kKeys = 100000;
  WideString text = L"[Files]\r\n";
  for (int i = 0; i < kKeys; ++i)
    text +=
        L"C:\\Documents\\Folder " + IntToWide(i) + L"\\file.txt=" + IntToWide(i % 10 + 1) + L"\r\n";
  Put(text);
  TTntIniFile ini(Path());
  TTntStringList keys;
  ini.ReadSection(L"Files", keys);
  ASSERT_EQ(keys.Count(), kKeys);
  EXPECT_EQ(keys[kKeys - 1], L"C:\\Documents\\Folder 99999\\file.txt");
  auto pairs = ini.ReadSectionPairs(L"Files", L"0");
  ASSERT_EQ(pairs.size(), static_cast<size_t>(kKeys));
  EXPECT_EQ(pairs[12345].first, L"C:\\Documents\\Folder 12345\\file.txt");
  EXPECT_EQ(pairs[12345].second, L"6");
}

TEST_F(IniFile, OnePassListingGivesWhatKeyByKeyReadingGives) {
  Put(L"; note\r\n[Other]\r\nx=1\r\n[Files]\r\n  C:\\a.txt = 3 \r\nC:\\b.txt=10\r\n"
      L"c:\\A.TXT=4\r\nD:\\Ж=\r\nE:\\x=abc\r\n[Tail]\r\ny=2\r\n");
  TTntIniFile ini(Path());
  TTntStringList keys;
  ini.ReadSection(L"FILES", keys);
  std::vector<std::pair<WideString, WideString>> expected;
  for (int i = 0; i < keys.Count(); ++i)
    expected.emplace_back(keys[i], ini.ReadString(L"FILES", keys[i], L"0"));
  EXPECT_EQ(ini.ReadSectionPairs(L"FILES", L"0"), expected);
  EXPECT_TRUE(ini.ReadSectionPairs(L"Missing", L"0").empty());
}

TEST_F(IniFile, ARefusedWriteRaisesUnableToWrite) {
  const WideString path = dir_ / L"no such folder" + L"/x.ini";
  TTntIniFile ini(path);
  try {
    ini.WriteString(L"S", L"k", L"v");
    FAIL() << "no exception";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + WideToUtf8(path));
  }
}

// ---- the in-memory classes ---------------------------------------------------

TEST(StringHash, HashOfFollowsRotateAndXor) {
  TTntStringHash hash(256);
  EXPECT_EQ(hash.HashOf(L""), 0u);
  EXPECT_EQ(hash.HashOf(L"AB"), 0x146u);
  hash.Add(L"key", 1);
  hash.Add(L"key", 2);
  EXPECT_EQ(hash.ValueOf(L"key"), 2);
  EXPECT_EQ(hash.ValueOf(L"KEY"), -1);
  hash.Clear();
  EXPECT_EQ(hash.ValueOf(L"key"), -1);
}

TEST(HashedStringList, LookupsFollowEveryChange) {
  TTntHashedStringList list;
  list.Add(L"alpha=1");
  list.Add(L"Beta=2");
  list.Add(L"noequals");
  list.Add(L"=empty");
  EXPECT_EQ(list.IndexOfName(L"BETA"), 1);
  EXPECT_EQ(list.IndexOfName(L""), 3);
  EXPECT_EQ(list.IndexOfName(L"noequals"), -1);
  EXPECT_EQ(list.IndexOf(L"NOEQUALS"), 2);
  list.Delete(0);
  EXPECT_EQ(list.IndexOfName(L"beta"), 0);
  list.Add(L"beta=3");
  EXPECT_EQ(list.IndexOfName(L"beta"), 3);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOfName(L"Beta"), 0);
}

class MemIniFile : public IniFile {};

TEST_F(MemIniFile, LoadingFollowsTheLineRules) {
  Put(L"orphan=1\r\n; comment\r\n\r\n[ A ]\r\n  k  =  v  \r\nbare line\r\nk=last\r\n#x=y\r\n"
      L"[B]\r\nb=1\r\n[a]\r\nk=second section\r\n[\r\n");
  TTntMemIniFile ini(Path());
  TTntStringList sections;
  ini.ReadSections(sections);
  ASSERT_EQ(sections.Count(), 3);
  EXPECT_EQ(sections[0], L"A");
  EXPECT_EQ(ini.ReadString(L"A", L"k", L""), L"second section");
  EXPECT_EQ(ini.ReadString(L"a", L"[", L"none"), L"none");
  EXPECT_EQ(ini.ReadString(L"B", L"orphan", L"none"), L"none");

  ini.EraseSection(L"A");  // the later of the two
  ini.ReadSections(sections);
  ASSERT_EQ(sections.Count(), 2);
  EXPECT_EQ(ini.ReadString(L"A", L"k", L""), L"last");
  EXPECT_EQ(ini.ReadString(L"A", L"#x", L""), L"y");
  TTntStringList names;
  ini.ReadSection(L"A", names);
  ASSERT_EQ(names.Count(), 4);
  EXPECT_EQ(names[1], L"");  // the line without "="
  TTntStringList values;
  ini.ReadSectionValues(L"A", values);
  EXPECT_EQ(values[0], L"k=v");
  EXPECT_EQ(values[1], L"bare line");
}

TEST_F(MemIniFile, LoadsEachEncodingByItsMark) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"utf-16 le", test::Utf16File(L"[S]\r\nk=Жук\r\n")},
      {"utf-16 be", std::string("\xFE\xFF\0[\0S\0]\0\n\0k\0=\x04\x16\x04\x43\x04\x3A", 20)},
      {"utf-8", "\xEF\xBB\xBF[S]\nk=\xD0\x96\xD1\x83\xD0\xBA"},
      {"ansi, lone CR", "[S]\rk=Жук-ansi"},
      {"ends at NUL", std::string("\xEF\xBB\xBF[S]\nk=Жук\0[T]\nz=1", 23)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteBytes(Path(), c.bytes);
    TTntMemIniFile ini(Path());
    WideString value = ini.ReadString(L"S", L"k", L"");
    if (std::string(c.name).starts_with("ansi"))
      EXPECT_EQ(value, AnsiToWide("Жук-ansi"));
    else
      EXPECT_EQ(value, L"Жук");
    EXPECT_EQ(ini.ReadString(L"T", L"z", L"none"), L"none");
  }
}

TEST_F(MemIniFile, UpdateFileWritesUtf16WithCrLfAndAnEmptyLineAfterEachSection) {
  TTntMemIniFile ini(Path());
  ini.WriteString(L"A", L"k", L"v");
  ini.WriteString(L"B", L"x", L"y");
  ini.DeleteKey(L"B", L"x");
  ini.UpdateFile();
  EXPECT_EQ(test::ReadBytes(Path()), test::Utf16File(L"[A]\r\nk=v\r\n\r\n[B]\r\n\r\n"));
}

TEST_F(MemIniFile, TheSelfSynchronisingVariantSavesAndFollowsTheFile) {
  TTntMemIniFile_V2 v2(Path());
  v2.WriteString(L"S", L"mine", L"1");
  TTntMemIniFile reader(Path());
  EXPECT_EQ(reader.ReadString(L"S", L"mine", L""), L"1");

  Put(L"[S]\r\nmine=1\r\ntheirs=2\r\n");
  EXPECT_EQ(v2.ReadString(L"S", L"theirs", L""), L"2");
}

}  // namespace
}  // namespace stamplets
