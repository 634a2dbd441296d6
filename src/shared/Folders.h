// Creating a folder together with every missing folder above it.
#pragma once

#include "WideText.h"

namespace stamplets {

// Walks the path (a separator is added at its end) and, at every "\" or "/",
// creates the folder named by the text up to there unless it exists. Drive
// roots ("C:") and the server and share of a "\\server\share" path are taken
// as given. False when the path is empty or a folder cannot be created.
bool ForceFolders(WideStringView path);

}  // namespace stamplets
