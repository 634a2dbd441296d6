// The manager's shell file functions: copies and deletions through the
// shell's file operation, with no owner window, no confirmation, no progress
// window and no recycle bin (the shell still reports errors its own way).
// Paths are wide throughout.
#pragma once

#include "WideText.h"

namespace stamplets::Un_ApiFunctions {

// Creates the folder and every missing folder above it; false when the path
// is empty or a folder cannot be created.
bool ForceFolders(const WideString& path);
// Deletes a file (or a folder with its content); true on success.
bool ShellDelete(const WideString& path);
// Copies a file over `to`, replacing it; true on success.
bool ShellCopy(const WideString& from, const WideString& to);
// Deletes a folder and everything in it; the result is not reported.
void ShellDeleteFolder(const WideString& path);

}  // namespace stamplets::Un_ApiFunctions
