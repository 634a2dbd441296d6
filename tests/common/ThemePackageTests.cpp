// Installing and packing packed themes, with packages the tests build
// themselves: plain and encrypted with libzip, and one encrypted by Info-ZIP's
// zip at build time (theme_fixtures/infozip.qmz beside this program).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "InstallFolder.h"
#include "System.h"
#include "TestSupport.h"
#include "ThemePackage.h"
#include "ZipArchive.h"

namespace stamplets {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// ---- building packages -------------------------------------------------------

struct Entry {
  Entry(WideString n, std::string b, std::uint16_t m = ZipWriter::kDeflate, std::string p = {})
      : name(std::move(n)), bytes(std::move(b)), method(m), password(std::move(p)) {}
  WideString name;
  std::string bytes;
  std::uint16_t method;
  std::string password;
};
using Entries = std::vector<Entry>;

void WritePackage(const WideString& path, const Entries& entries) {
  auto archive = ZipWriter::Open(path);
  ASSERT_TRUE(archive);
  for (const Entry& e : entries)
    ASSERT_TRUE(archive->Add(e.name, e.bytes, e.method, e.password));
  ASSERT_TRUE(archive->Close());
}

std::string IconBytes(int n, std::string_view tag) {
  return "icon " + std::string(tag) + " " + std::to_string(n) + std::string(64, 'x');
}

std::string Utf16Be(WideStringView text) {
  std::string out = "\xFE\xFF";
  for (wchar_t c : text) {
    out.push_back(static_cast<char>((c >> 8) & 0xFF));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  return out;
}

WideString DescriptionText(WideStringView theme) {
  return L"[AUTHOR]\r\nNAME=Tester\r\nVER=1.0\r\nTHEME_NAME=" + WideString(theme) +
         L"\r\nCOPYRIGHT=free/nto share\r\n";
}

std::string Description(WideStringView theme) {
  return test::Utf16File(DescriptionText(theme));
}

// The eleven entries of a theme at the archive's root.
Entries Theme(std::string description, std::string_view tag = "new",
              const std::string& password = {}) {
  Entries entries;
  for (int n = 1; n <= 10; ++n)
    entries.push_back({IntToWide(n) + L".ico", IconBytes(n, tag), ZipWriter::kDeflate, password});
  entries.push_back({L"plist.ini", std::move(description), ZipWriter::kDeflate, password});
  return entries;
}

Entry& Named(Entries& entries, WideStringView name) {
  for (Entry& e : entries)
    if (e.name == name) return e;
  throw std::runtime_error("no such entry");
}

// A file beside this test program (built there by the build).
WideString Beside(std::string_view name) {
  WideString path = test::SiblingProgram(name);
  if (EndsWith(path, L".exe")) path.resize(path.size() - 4);
  return path;
}

// ---- the installation folder and what is in it ----------------------------------

fs::path Native(const WideString& path) {
#ifdef _WIN32
  return fs::path(path);
#else
  return fs::path(WideToUtf8(path));
#endif
}

WideString Relative(const fs::path& path) {
#ifdef _WIN32
  return path.generic_wstring();
#else
  return Utf8ToWide(path.generic_string());
#endif
}

// Every file (with its bytes) and folder under a folder.
using Tree = std::map<WideString, std::string>;
Tree Snapshot(const WideString& root) {
  Tree tree;
  fs::path base = Native(root);
  for (const auto& item : fs::recursive_directory_iterator(base)) {
    WideString key = Relative(fs::relative(item.path(), base));
    tree[key] = item.is_directory() ? std::string("<folder>") : test::ReadBytes(Relative(item));
  }
  return tree;
}

struct Fixture {
  TempDir root;
  // A folder name outside every ANSI code page: paths must stay wide.
  WideString install = root / L"Stamplets \x0423\x0441\x0442 \x6F22";
  WideString package = root / L"package.qmz";
  InstallFolder folder{install};
  // The theme files an install is expected to leave, by file name.
  std::map<WideString, std::string> expected;

  Fixture() {
    test::MakeDir(install + L"/themes/Zadovu");
    test::MakeDir(install + L"/icons");
    test::WriteBytes(install + L"/themes/Zadovu/1.ico", IconBytes(1, "zadovu"));
    test::WriteBytes(install + L"/icons/1.ico", IconBytes(1, "current"));
    test::WriteBytes(install + L"/settings.ini", test::Utf16File(L"[Theme]\r\nName=Zadovu\r\n"));
  }

  void Package(const Entries& entries) {
    WritePackage(package, entries);
    for (const Entry& e : entries)
      if (e.name.find(L'\\') == WideString::npos) expected[e.name] = e.bytes;
  }

  // An installed theme with older files and one of its own.
  void ExistingTheme(WideStringView theme) {
    WideString dir = install + L"/themes/" + WideString(theme);
    test::MakeDir(dir);
    for (int n = 1; n <= 10; ++n)
      test::WriteBytes(dir + L"/" + IntToWide(n) + L".ico", IconBytes(n, "old"));
    test::WriteBytes(dir + L"/plist.ini", Description(L"old"));
    test::WriteBytes(dir + L"/notes.txt", "kept");
  }
};

class RecordingPrompts : public ThemeInstallPrompts {
 public:
  RecordingPrompts(bool answer, WideString temp_ini) : answer_(answer), temp_ini_(temp_ini) {}
  bool ConfirmInstall(const WideString& theme_name) override {
    asked.push_back(theme_name);
    temp_ini_gone_when_asked = !test::Exists(temp_ini_);
    return answer_;
  }
  void ReportCorrupted() override { ++corrupted; }

  std::vector<WideString> asked;
  int corrupted = 0;
  bool temp_ini_gone_when_asked = true;

 private:
  bool answer_;
  WideString temp_ini_;
};

// ---- the table -------------------------------------------------------------------

struct InstallCase {
  std::string label;
  std::function<void(Fixture&)> arrange;
  InstallResult result;
  WideString asked;  // the name the confirmation shows; empty when it must not be asked
  WideString theme;  // the folder the install leaves under themes; empty for none
  bool answer = true;
};

void PrintTo(const InstallCase& c, std::ostream* os) {
  *os << c.label;
}

Entries InFolder(Entries entries, WideStringView folder) {
  for (Entry& e : entries)
    e.name = WideString(folder) + L"\\" + e.name;
  return entries;
}

// A package whose entry 5.ico is stored, with its bytes damaged afterwards:
// its checksum no longer matches.
void DamagedFifthIcon(Fixture& f, WideStringView theme) {
  Entries entries = Theme(Description(theme));
  Named(entries, L"5.ico") = {L"5.ico", "DAMAGE-ME" + std::string(100, 'd'), ZipWriter::kStore};
  WritePackage(f.package, entries);
  std::string bytes = test::ReadBytes(f.package);
  size_t at = bytes.find("DAMAGE-ME");
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 'X';
  test::WriteBytes(f.package, bytes);
}

InstallResult Installed() {
  return InstallResult::kInstalled;
}

std::vector<InstallCase> InstallCases() {
  using R = InstallResult;
  std::vector<InstallCase> cases = {
      {"valid plain", [](Fixture& f) { f.Package(Theme(Description(L"Plain"))); }, Installed(),
       L"Plain", L"Plain"},
      {"valid encrypted with the fixed password",
       [](Fixture& f) { f.Package(Theme(Description(L"Locked"), "new", package::kPassword)); },
       Installed(), L"Locked", L"Locked"},
      {"valid encrypted by Info-ZIP's zip -P",
       [](Fixture& f) {
         f.package = Beside("theme_fixtures/infozip.qmz");
         for (const WideString& name : package::RequiredNames())
           f.expected[name] = test::ReadBytes(Beside("theme_fixtures/infozip/") + name);
       },
       Installed(), L"InfoZip", L"InfoZip"},
      {"an extra text file is not extracted",
       [](Fixture& f) {
         Entries entries = Theme(Description(L"Extra"));
         entries.push_back({L"readme.txt", "read me"});
         f.Package(entries);
         f.expected.erase(L"readme.txt");
       },
       Installed(), L"Extra", L"Extra"},
      {"the eleven files inside a folder",
       [](Fixture& f) { f.Package(InFolder(Theme(Description(L"Nested")), L"Nested")); },
       R::kCorrupted, L"", L""},
      {"the eleven at the root and one icon in a folder as well",
       [](Fixture& f) {
         Entries entries = Theme(Description(L"Twice"));
         entries.push_back({L"more/1.ico", IconBytes(1, "more")});
         f.Package(entries);
       },
       R::kCorrupted, L"", L""},
      {"1.ICO in capitals",
       [](Fixture& f) {
         Entries entries = Theme(Description(L"Caps"));
         Named(entries, L"1.ico").name = L"1.ICO";
         f.Package(entries);
       },
       R::kCorrupted, L"", L""},
      {"21.ico without 1.ico passes the rule and fails to extract",
       [](Fixture& f) {
         Entries entries = Theme(Description(L"Twenty"));
         Named(entries, L"1.ico").name = L"21.ico";
         f.Package(entries);
       },
       R::kCorrupted, L"Twenty", L""},
      {"encrypted with another password",
       [](Fixture& f) { f.Package(Theme(Description(L"Other"), "new", "not-lemoncat")); },
       R::kCorrupted, L"", L""},
      {"one icon encrypted with another password, after four were stored",
       [](Fixture& f) {
         Entries entries = Theme(Description(L"Mixed"));
         Named(entries, L"5.ico").password = "not-lemoncat";
         f.Package(entries);
       },
       R::kCorrupted, L"Mixed", L""},
      {"a damaged icon, after four were stored",
       [](Fixture& f) { DamagedFifthIcon(f, L"Damaged"); }, R::kCorrupted, L"Damaged", L""},
      {"a damaged icon over an installed theme leaves that theme as it was",
       [](Fixture& f) {
         f.ExistingTheme(L"Damaged");
         DamagedFifthIcon(f, L"Damaged");
       },
       R::kCorrupted, L"Damaged", L""},
      {"a truncated archive",
       [](Fixture& f) {
         f.Package(Theme(Description(L"Cut")));
         std::string bytes = test::ReadBytes(f.package);
         test::WriteBytes(f.package, bytes.substr(0, bytes.size() / 2));
       },
       R::kNoArchive, L"", L""},
      {"not an archive", [](Fixture& f) { test::WriteBytes(f.package, "just some text"); },
       R::kNoArchive, L"", L""},
      {"an archive without entries",
       [](Fixture& f) {
         test::WriteBytes(f.package, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
       },
       R::kNoArchive, L"", L""},
      {"a file that does not exist", [](Fixture& f) { f.package += L".missing"; }, R::kNoArchive,
       L"", L""},
      {"plist.ini in UTF-8 with its mark",
       [](Fixture& f) {
         f.Package(Theme("\xEF\xBB\xBF" + WideToUtf8(DescriptionText(L"Caf\x00E9 Noir"))));
       },
       Installed(), L"Caf\x00E9 Noir", L"Caf\x00E9 Noir"},
      {"plist.ini in UTF-16 BE with a Cyrillic and Chinese name",
       [](Fixture& f) {
         f.Package(Theme(Utf16Be(DescriptionText(L"\x0422\x0435\x043C\x0430 \x6F22\x5B57"))));
       },
       Installed(), L"\x0422\x0435\x043C\x0430 \x6F22\x5B57",
       L"\x0422\x0435\x043C\x0430 \x6F22\x5B57"},
      {"plist.ini in 8-bit text without a mark",
       [](Fixture& f) { f.Package(Theme(WideToAnsi(DescriptionText(L"Cr\x00E8me")))); },
       Installed(), L"Cr\x00E8me", L"Cr\x00E8me"},
      {"an icon of exactly 4 MiB",
       [](Fixture& f) {
         Entries entries = Theme(Description(L"Large"));
         Named(entries, L"7.ico").bytes = std::string(package::kMaxIconSize, 'i');
         f.Package(entries);
       },
       Installed(), L"Large", L"Large"},
      {"an icon one byte over 4 MiB",
       [](Fixture& f) {
         Entries entries = Theme(Description(L"Huge"));
         Named(entries, L"7.ico").bytes = std::string(package::kMaxIconSize + 1, 'i');
         f.Package(entries);
       },
       R::kCorrupted, L"", L""},
      {"a plist.ini over 1 MiB",
       [](Fixture& f) {
         f.Package(Theme(Description(L"Wordy") + std::string(package::kMaxDescriptionSize, ';')));
       },
       R::kCorrupted, L"", L""},
      {"an installed theme of the same name is replaced, its other files stay",
       [](Fixture& f) {
         f.ExistingTheme(L"Plain");
         f.Package(Theme(Description(L"Plain")));
       },
       Installed(), L"Plain", L"Plain"},
      {"the first theme, without a themes folder yet",
       [](Fixture& f) {
         fs::remove_all(Native(f.install + L"/themes"));
         f.Package(Theme(Description(L"First")));
       },
       Installed(), L"First", L"First"},
      {"No at the confirmation", [](Fixture& f) { f.Package(Theme(Description(L"Plain"))); },
       R::kDeclined, L"Plain", L"", false},
  };
  // Names that would put files outside a folder of the theme's own.
  for (const wchar_t* name : {L"..\\evil", L"../evil", L"C:\\x", L"C:x", L"", L".", L"..", L"CON",
                              L"con.txt", L"LPT9", L"Zadovu.", L"a<b"}) {
    cases.push_back({"an unusable THEME_NAME \"" + WideToUtf8(name) + "\"",
                     [name](Fixture& f) { f.Package(Theme(Description(name))); }, R::kCorrupted,
                     L"", L""});
  }
  cases.push_back(
      {"no THEME_NAME at all",
       [](Fixture& f) { f.Package(Theme(test::Utf16File(L"[AUTHOR]\r\nNAME=Nobody\r\n"))); },
       R::kCorrupted, L"", L""});
  return cases;
}

class PackageInstall : public ::testing::TestWithParam<InstallCase> {};

TEST_P(PackageInstall, EndsAsExpectedAndLeavesOnlyTheTheme) {
  const InstallCase& c = GetParam();
  Fixture f;
  c.arrange(f);
  if (HasFatalFailure()) return;
  Tree before = Snapshot(f.root.Path());

  RecordingPrompts prompts(c.answer, f.folder.File(files::kTempIni));
  EXPECT_EQ(InstallThemePackage(f.folder, f.package, prompts), c.result);

  EXPECT_EQ(prompts.corrupted, c.result == InstallResult::kCorrupted ? 1 : 0);
  std::vector<WideString> asked;
  if (!c.asked.empty()) asked.push_back(c.asked);
  EXPECT_EQ(prompts.asked, asked);
  EXPECT_TRUE(prompts.temp_ini_gone_when_asked);

  // Everything outside the installed theme's files is as it was: no
  // temporary file, no half-installed folder, nothing beside the folder.
  Tree expected = before;
  if (!c.theme.empty()) {
    WideString dir = L"Stamplets \x0423\x0441\x0442 \x6F22/themes";
    expected[dir] = "<folder>";
    dir += L"/" + c.theme;
    expected[dir] = "<folder>";
    ASSERT_EQ(f.expected.size(), 11u);
    for (const auto& [name, bytes] : f.expected)
      expected[dir + L"/" + name] = bytes;
  }
  Tree after = Snapshot(f.root.Path());
  EXPECT_EQ(after.size(), expected.size());
  for (const auto& [path, bytes] : expected) {
    auto it = after.find(path);
    if (it == after.end())
      ADD_FAILURE() << "missing " << WideToUtf8(path);
    else if (it->second != bytes)
      ADD_FAILURE() << "changed " << WideToUtf8(path);
  }
  for (const auto& [path, bytes] : after)
    if (!expected.count(path)) ADD_FAILURE() << "left behind " << WideToUtf8(path);
}

INSTANTIATE_TEST_SUITE_P(Packages, PackageInstall, ::testing::ValuesIn(InstallCases()));

// ---- packing -------------------------------------------------------------------

std::vector<WideString> StoredNames(const WideString& archive) {
  auto reader = ZipReader::Open(archive);
  return reader ? reader->Names() : std::vector<WideString>{};
}

TEST(PackTheme, PackedThemeRoundTripsThroughInstall) {
  Fixture f;
  WideString source = f.install + L"/themes/\x0422\x0435\x043C\x0430";
  test::MakeDir(source);
  for (const Entry& e : Theme(Description(L"\x0422\x0435\x043C\x0430"), "packed"))
    test::WriteBytes(source + L"/" + e.name, e.bytes);
  test::WriteBytes(source + L"/notes.txt", "not packed");
  test::WriteBytes(source + L"/1.icon", "not packed either");

  WideString archive = f.root / L"packed \x6F22.qmz";
  EXPECT_EQ(PackTheme(source, archive), 11);
  std::vector<WideString> names = StoredNames(archive);
  EXPECT_EQ(names.size(), 11u);
  EXPECT_TRUE(IsValidPackage(names));

  Fixture other;
  RecordingPrompts prompts(true, other.folder.File(files::kTempIni));
  ASSERT_EQ(InstallThemePackage(other.folder, archive, prompts), InstallResult::kInstalled);
  for (const WideString& name : package::RequiredNames())
    EXPECT_EQ(test::ReadBytes(other.install + L"/themes/\x0422\x0435\x043C\x0430/" + name),
              test::ReadBytes(source + L"/" + name))
        << WideToUtf8(name);
}

TEST(PackTheme, CountsWhatWasAddedAndFailsOnAFileThatIsNoArchive) {
  Fixture f;
  WideString source = f.install + L"/themes/Short";
  test::MakeDir(source);
  Entries entries = Theme(Description(L"Short"));
  entries.erase(entries.begin() + 9);  // no 10.ico
  for (const Entry& e : entries)
    test::WriteBytes(source + L"/" + e.name, e.bytes);
  EXPECT_EQ(PackTheme(source, f.root / L"short.qmz"), 10);

  WideString text = f.root / L"text.qmz";
  test::WriteBytes(text, "not an archive");
  EXPECT_EQ(PackTheme(source, text), 0);
  EXPECT_EQ(test::ReadBytes(text), "not an archive");

  EXPECT_EQ(PackTheme(f.install + L"/themes/Missing", f.root / L"none.qmz"), 0);
  EXPECT_FALSE(test::Exists(f.root / L"none.qmz"));
}

}  // namespace
}  // namespace stamplets
