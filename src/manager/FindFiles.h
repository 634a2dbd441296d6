// Listing the entries of a folder, for the language list and the toolbar
// sets.
#pragma once

#include <windows.h>

#include <functional>

#include "TntClasses.h"
#include "WideText.h"

namespace stamplets {

// Calls `visit` for every entry that matches the pattern (a folder followed
// by a mask), hidden and system entries included, "." and ".." left out, in
// the order the file system gives them.
void ForEachFolderEntry(const WideString& pattern,
                        const std::function<void(const WIN32_FIND_DATAW&)>& visit);

// Appends to `list` the name of every plain file of `folder` that matches
// `mask` (an empty mask means "*.*"). Sub-folders are skipped, even those
// whose names match the mask: a folder "x.ini" in langs is no language.
// `between_entries`, when given, runs after each entry is looked at (the
// window lets pending messages through there).
void FindFiles(WideString folder, WideString mask, TTntStringList& list,
               const std::function<void()>& between_entries = {});

}  // namespace stamplets
