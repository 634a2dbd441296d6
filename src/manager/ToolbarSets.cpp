#include "ToolbarSets.h"

#include <algorithm>

#include "FindFiles.h"
#include "Settings.h"
#include "System.h"
#include "Translation.h"

namespace stamplets::toolbar {

std::vector<WideString> ListToolbarSets(const InstallFolder& folder) {
  std::vector<WideString> sets;
  try {
    const WideString root = folder.File(files::kToolbarFolder);
    ForEachFolderEntry(root + L"*", [&](const WIN32_FIND_DATAW& data) {
      if (sys::DirectoryExists(root + data.cFileName)) sets.emplace_back(data.cFileName);
    });
  } catch (const std::exception&) {
  }
  return sets;
}

std::array<WideString, 5> ExistingIconFiles(const InstallFolder& folder, WideStringView set) {
  std::array<WideString, 5> found;
  const WideString set_folder = folder.ToolbarSetFolder(set);
  for (const IconFile& icon : kIconFiles) {
    WideString path = set_folder + icon.name;
    if (sys::FileExists(path)) found[icon.page - 1] = std::move(path);
  }
  return found;
}

WideString ItemText(WideStringView set) {
  if (set != files::kDefaultToolbarSet) return WideString(set);
  return WideString(set) + L" (" + LanguageSupport::Translate(L"Default") + L" )";
}

SavedChoice ReadSavedChoice(const InstallFolder& folder, const std::vector<WideString>& listed) {
  SavedChoice choice;
  choice.name = Settings(folder.File(files::kSettings)).ReadToolbarSet();
  auto it = std::find(listed.begin(), listed.end(), choice.name);
  if (it != listed.end()) choice.index = static_cast<int>(it - listed.begin());
  choice.load = choice.name != kBuiltInSetName;
  return choice;
}

}  // namespace stamplets::toolbar
