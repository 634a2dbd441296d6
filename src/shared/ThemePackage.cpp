#include "ThemePackage.h"

#include <optional>
#include <string>

#include "Folders.h"
#include "System.h"
#include "TntClasses.h"
#include "TntIniFiles.h"
#include "ZipArchive.h"

namespace stamplets {

namespace package {

std::vector<WideString> RequiredNames() {
  std::vector<WideString> names;
  for (int n = 1; n <= 10; ++n)
    names.push_back(IntToWide(n) + L".ico");
  names.push_back(files::kThemeDescription);
  return names;
}

}  // namespace package

bool IsValidPackage(const std::vector<WideString>& stored_names) {
  WideString text = L"TEST VALID THENME";
  for (const WideString& name : stored_names)
    text += L"\r\n" + name;
  // Found after the first character: the first line makes every real
  // occurrence qualify.
  auto present = [&text](const WideString& part) {
    size_t at = text.find(part);
    return at != WideString::npos && at > 0;
  };
  for (const WideString& name : package::RequiredNames())
    if (!present(name) || present(L"\\" + name)) return false;
  return true;
}

bool IsPlainFolderName(WideStringView name) {
  if (name.empty()) return false;
  for (wchar_t c : name)
    if (c < 32 || WideStringView(L"\\/:*?\"<>|").find(c) != WideStringView::npos) return false;
  // Covers "." and ".." as well.
  if (name.back() == L'.' || name.back() == L' ') return false;

  // Device names stay devices with any extension ("CON.txt") and with
  // blanks before it.
  WideString base(name.substr(0, name.find(L'.')));
  while (!base.empty() && base.back() == L' ')
    base.pop_back();
  base = UpperCase(base);
  for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
    if (base == device) return false;
  if (base.size() == 4 && (StartsWith(base, L"COM") || StartsWith(base, L"LPT")) &&
      base[3] >= L'1' && base[3] <= L'9')
    return false;
  return true;
}

namespace {

// A temporary file of the installation folder that is gone when the install
// ends, however it ends.
class TemporaryFile {
 public:
  explicit TemporaryFile(WideString path) : path_(std::move(path)) {}
  ~TemporaryFile() { Remove(); }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const WideString& Path() const { return path_; }
  void Remove() const {
    if (sys::FileExists(path_)) sys::DeleteFileAt(path_);
  }

 private:
  WideString path_;
};

// The files an install writes into a theme folder, each with what it held
// before, so that a failed install leaves the folder as it found it: a
// folder it created is removed again, an existing theme gets its files back.
class ThemeFolderChanges {
 public:
  explicit ThemeFolderChanges(WideString folder)
      : folder_(std::move(folder)), existed_(sys::DirectoryExists(folder_)) {}
  ~ThemeFolderChanges() {
    if (!committed_) Undo();
  }
  ThemeFolderChanges(const ThemeFolderChanges&) = delete;
  ThemeFolderChanges& operator=(const ThemeFolderChanges&) = delete;

  // Writes the file `name` of the folder, creating the folder when missing.
  bool Replace(const WideString& name, std::string_view bytes) {
    if (!sys::DirectoryExists(folder_) && !ForceFolders(folder_)) return false;
    Change change{folder_ + name, std::nullopt};
    if (sys::FileExists(change.path)) {
      change.before = sys::ReadFileBytes(change.path);
      if (!change.before) return false;
    } else if (sys::DirectoryExists(change.path)) {
      return false;
    }
    changes_.push_back(std::move(change));
    return sys::WriteFileBytes(changes_.back().path, bytes);
  }

  void Commit() { committed_ = true; }

  void Undo() {
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) {
      if (it->before)
        sys::WriteFileBytes(it->path, *it->before);
      else
        sys::DeleteFileAt(it->path);
    }
    changes_.clear();
    if (!existed_) {
      WideString folder = folder_;
      while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
      sys::RemoveEmptyFolder(folder);
    }
    committed_ = true;
  }

 private:
  struct Change {
    WideString path;
    std::optional<std::string> before;
  };
  WideString folder_;
  bool existed_;
  bool committed_ = false;
  std::vector<Change> changes_;
};

// The package's plist.ini is re-encoded as "~temp.ini" (UTF-16 LE with its
// mark, whatever mark the package's file had) so that THEME_NAME can be read
// through the INI class; the temporary file is deleted again at once.
std::optional<WideString> ReadThemeName(std::string_view description, const TemporaryFile& temp) {
  try {
    TTntStringList memo;
    memo.LoadFromBytes(description);
    memo.SaveToFile(temp.Path());
    WideString name;
    {
      TTntIniFile ini(temp.Path());
      name = ini.ReadString(L"AUTHOR", L"THEME_NAME", L"");
    }
    temp.Remove();
    return name;
  } catch (const EFileError&) {
    return std::nullopt;
  } catch (const EIniFileException&) {
    return std::nullopt;
  }
}

// Sizes as the archive's directory gives them; Extract checks them again
// against the data itself.
bool WithinBounds(const ZipReader& archive) {
  for (const WideString& name : package::RequiredNames()) {
    std::uint64_t limit =
        name == files::kThemeDescription ? package::kMaxDescriptionSize : package::kMaxIconSize;
    if (archive.SizeOf(name) > limit) return false;
  }
  return true;
}

// Copies "~temp.ico" to N.ico of the theme being installed.
bool StoreThemeIcon(int number, const TemporaryFile& temp_icon, ThemeFolderChanges& theme) {
  std::optional<std::string> icon = sys::ReadFileBytes(temp_icon.Path());
  return icon && theme.Replace(IntToWide(number) + L".ico", *icon);
}

}  // namespace

InstallResult InstallThemePackage(const InstallFolder& folder, const WideString& package_path,
                                  ThemeInstallPrompts& prompts) {
  const TemporaryFile temp_ini(folder.File(files::kTempIni));
  const TemporaryFile temp_icon(folder.File(files::kTempIcon));

  std::unique_ptr<ZipReader> archive = ZipReader::Open(package_path);
  if (!archive || archive->Names().empty()) return InstallResult::kNoArchive;

  auto corrupted = [&prompts] {
    prompts.ReportCorrupted();
    return InstallResult::kCorrupted;
  };
  if (!IsValidPackage(archive->Names()) || !WithinBounds(*archive)) return corrupted();
  archive->SetPassword(package::kPassword);

  std::string description;
  if (archive->Extract(files::kThemeDescription, package::kMaxDescriptionSize, description) !=
      ZipReader::Extracted::kOk)
    return corrupted();
  std::optional<WideString> theme = ReadThemeName(description, temp_ini);
  // Nothing may be written outside a folder of the theme's own under themes.
  if (!theme || !IsPlainFolderName(*theme)) return corrupted();

  if (!prompts.ConfirmInstall(*theme)) return InstallResult::kDeclined;

  ThemeFolderChanges changes(folder.ThemeFolder(*theme));
  auto failed = [&] {
    changes.Undo();
    temp_icon.Remove();
    return corrupted();
  };
  for (int n = 1; n <= 10; ++n) {
    std::string icon;
    if (archive->Extract(IntToWide(n) + L".ico", package::kMaxIconSize, icon) !=
        ZipReader::Extracted::kOk)
      return failed();
    if (!sys::WriteFileBytes(temp_icon.Path(), icon)) return failed();
    if (!StoreThemeIcon(n, temp_icon, changes)) return failed();
  }
  // The package's plist.ini, byte for byte.
  if (!changes.Replace(files::kThemeDescription, description)) return failed();
  temp_icon.Remove();
  changes.Commit();
  return InstallResult::kInstalled;
}

int PackTheme(const WideString& theme_folder, const WideString& archive_path) {
  WideString folder = theme_folder;
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  std::vector<WideString> names = sys::FilesIn(folder);

  std::unique_ptr<ZipWriter> archive = ZipWriter::Open(archive_path);
  if (!archive) return 0;
  int added = 0;
  // The icons first, then the descriptions, as "*.ico" and "*.ini" list them.
  for (const wchar_t* extension : {L".ico", L".ini"}) {
    for (const WideString& name : names) {
      if (name.size() <= 4 || !SameText(WideStringView(name).substr(name.size() - 4), extension))
        continue;
      std::optional<std::string> bytes = sys::ReadFileBytes(folder + name);
      if (bytes && archive->Add(name, std::move(*bytes))) ++added;
    }
  }
  return archive->Close() ? added : 0;
}

}  // namespace stamplets
