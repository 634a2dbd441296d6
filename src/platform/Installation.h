// Where the programs find their installation folder, and starting the icon
// refresher that lives in it.
#pragma once

#include <windows.h>

#include "InstallFolder.h"

namespace stamplets::win {

// A loaded module's full file name (nullptr: the program's), growing the
// buffer for long paths; empty when the name cannot be had.
WideString ModuleFileName(HMODULE module);
// The folder of the running program file.
InstallFolder ProgramFolder();
// The folder of a loaded module's file; kNoInstallFolder when the module's
// file name cannot be had. Names are taken with the wide call, so a folder
// outside the ANSI code page works.
InstallFolder ModuleFolder(HMODULE module);
// Asks the shell to open ric.exe of the folder: no parameters, no working
// folder, a normal window owned by `owner`; nothing waits for it.
void StartIconRefresher(HWND owner, const InstallFolder& folder);

}  // namespace stamplets::win
