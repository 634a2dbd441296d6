// What Stamplets expects of the two companions in its installation folder:
// the context-menu module stampletsmenu.dll, which registers the two handler
// keys below, and the icon refresher ric.exe, started after new icons arrive.
#pragma once

namespace stamplets::companions {

// Under HKEY_CLASSES_ROOT; the menu counts as registered only when both exist.
inline constexpr wchar_t kFolderMenuKey[] =
    L"Directory\\shellex\\ContextMenuHandlers\\Varnok.StampletsContextMenu";
inline constexpr wchar_t kFileMenuKey[] =
    L"*\\shellex\\ContextMenuHandlers\\Varnok.Stamplets.ContextMenu";

}  // namespace stamplets::companions
