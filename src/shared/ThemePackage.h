// Packed themes: zip archives (extension qmz) holding a theme's ten icons
// and its plist.ini at their root. Checking a package, installing it into
// themes\<THEME_NAME>\, and packing an installed theme. The questions and
// the error message belong to the caller, through ThemeInstallPrompts.
#pragma once

#include <cstdint>
#include <vector>

#include "InstallFolder.h"
#include "WideText.h"

namespace stamplets {

namespace package {
// Every entry that may be encrypted is encrypted with this password.
inline constexpr char kPassword[] = "lemoncat";
// Anything larger is no stamplet icon or description: the package is
// treated as corrupted instead of filling the memory or the disk.
inline constexpr std::uint64_t kMaxIconSize = 4u << 20;
inline constexpr std::uint64_t kMaxDescriptionSize = 1u << 20;
// The eleven entries every package holds at its root.
std::vector<WideString> RequiredNames();
}  // namespace package

// The rule a package's list of stored names must pass: a text made of the
// line "TEST VALID THENME" followed by one line per name is searched,
// case-sensitively; each of the eleven required names must occur in it, and
// none of them may occur preceded by "\" (inside a folder of the archive).
// It looks at parts of names: "21.ico" counts as "1.ico".
bool IsValidPackage(const std::vector<WideString>& stored_names);

// A theme name that can be used as it is for one folder under themes\: not
// empty, no separator, drive or ":", none of the characters Windows refuses
// in a name, not "." or "..", not ending in "." or a blank (Windows would
// drop them and write into another folder), and no reserved device name
// (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension).
bool IsPlainFolderName(WideStringView name);

// What the install asks of the window that runs it.
class ThemeInstallPrompts {
 public:
  virtual ~ThemeInstallPrompts() = default;
  // "Install theme : "<name>" ?": true when the user answers Yes.
  virtual bool ConfirmInstall(const WideString& theme_name) = 0;
  // "Theme is corrupted, sorry."
  virtual void ReportCorrupted() = 0;
};

enum class InstallResult {
  kNoArchive,  // unreadable, not an archive, or no entries: ends quietly
  kCorrupted,  // reported through ReportCorrupted; nothing of it is left
  kDeclined,   // the user answered No; nothing written
  kInstalled,
};

// Installs the package at `package_path` into the installation folder:
// checks it, reads THEME_NAME through "~temp.ini", asks for confirmation and
// stores the ten icons (each through "~temp.ico") and plist.ini in
// themes\<name>\, replacing the files of an existing theme of that name and
// leaving its other files alone. Neither temporary file remains afterwards,
// however the install ends. An install that fails after it began writing
// removes the theme folder it created, or puts back the files an existing
// theme had.
InstallResult InstallThemePackage(const InstallFolder& folder, const WideString& package_path,
                                  ThemeInstallPrompts& prompts);

// Adds every "*.ico" and "*.ini" file of `theme_folder` to the archive at
// `archive_path` (created when missing, added to when it exists) at its root
// under the file's name, deflated, unencrypted. Returns how many files were
// added; 0 when the archive could not be written.
int PackTheme(const WideString& theme_folder, const WideString& archive_path);

}  // namespace stamplets
