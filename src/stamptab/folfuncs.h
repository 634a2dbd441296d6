// What the page needs from the installation folder: the folder itself (the
// module's), the stamplet store in it, and the translation of its texts.
#pragma once

#include "InstallFolder.h"
#include "WideText.h"

namespace stamplets::stamptab::folfuncs {

// The folder of Stamptab's module file; kNoInstallFolder when its name
// cannot be had.
InstallFolder InstallationFolder();

// The path's stamplet number as stored; 0 when there is none or the store
// cannot be read. A stored number may lie outside 0 to 10.
int ReadStamplet(const WideString& path);
// Stores n (1 to 10) for the path, or removes its key for 0. Raises
// EStoreKeyError or EIniFileException when the store refuses the write.
void WriteStamplet(const WideString& path, int number);

// The English text in the current language of settings.ini.
WideString Translate(WideStringView english);

}  // namespace stamplets::stamptab::folfuncs
