// Making an installed theme current, and removing an installed theme.
#pragma once

#include <windows.h>

#include "InstallFolder.h"
#include "WideText.h"

namespace stamplets {

// Copies 1.ico ... 10.ico of `theme_folder` (a theme's folder, ending in a
// separator) over icons\1.ico ... icons\10.ico, each through a backup
// icons\N.ico.old that is removed once the new icon arrived and copied back
// when it did not; then starts ric.exe, owned by `owner`, also when the
// theme's folder is missing. A current icon is never left missing: it is
// given up only when its backup exists.
void ActivateTheme(HWND owner, const InstallFolder& folder, const WideString& theme_folder);

// Stores the name as the current theme in settings.ini; a refused write is
// ignored.
void StoreCurrentTheme(const InstallFolder& folder, const WideString& theme_name);

// Deletes themes\<name> with everything in it. settings.ini and the current
// icons stay as they are, also when it was the current theme.
void DeleteTheme(const InstallFolder& folder, const WideString& theme_name);

}  // namespace stamplets
