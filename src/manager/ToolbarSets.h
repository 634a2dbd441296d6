// Toolbar sets: the sub-folders of toolbar\, each holding up to five icons
// for the page buttons of the main window.
#pragma once

#include <array>
#include <vector>

#include "InstallFolder.h"
#include "WideText.h"

namespace stamplets::toolbar {

// A name that never loads icons: saved, it keeps the built-in page icons;
// picked, it changes nothing.
inline constexpr wchar_t kBuiltInSetName[] = L"Default";

struct IconFile {
  const wchar_t* name;  // the file in the set's folder
  int page;             // the page button (1 Library ... 5 Settings)
  int item_x;           // where the set's list item draws it
};

// In the order the icons are loaded; the item x positions follow the
// left-to-right order of the buttons in the main window.
inline constexpr std::array<IconFile, 5> kIconFiles = {{
    {L"library.ico", 1, 6},
    {L"themes.ico", 2, 40},
    {L"About.ico", 3, 142},
    {L"Language.ico", 4, 74},
    {L"options.ico", 5, 108},
}};

// Every sub-folder of toolbar\, in the file system's order; empty when
// toolbar\ is missing. A failure ends the listing with what was found.
std::vector<WideString> ListToolbarSets(const InstallFolder& folder);

// The set's icon files that exist, indexed by page - 1; empty where the set
// lacks one.
std::array<WideString, 5> ExistingIconFiles(const InstallFolder& folder, WideStringView set);

// The text of the set's list item: its name, and for the default set
// "Zadovu (<Default> )" with "Default" translated.
WideString ItemText(WideStringView set);

// The set that start-up applies: the saved name (default "Zadovu"), the
// first listed set of exactly that name (-1 when none), and whether its
// icons are loaded (every name but "Default").
struct SavedChoice {
  WideString name;
  int index = -1;
  bool load = false;
};
SavedChoice ReadSavedChoice(const InstallFolder& folder, const std::vector<WideString>& listed);

}  // namespace stamplets::toolbar
