// The identity of Stamptab's one COM class and the names the shell finds it
// under. The class identifier lives here and nowhere else.
#pragma once

#include <windows.h>

namespace stamplets::stamptab {

// {AC12D821-9F0F-4D88-8D2C-B1142FBE5AF4}
inline constexpr CLSID CLSID_FolPropSheet = {
    0xac12d821, 0x9f0f, 0x4d88, {0x8d, 0x2c, 0xb1, 0x14, 0x2f, 0xbe, 0x5a, 0xf4}};

// The class key's default value, the approval value's data, and the name of
// the handler key for all files.
inline constexpr wchar_t kDescription[] = L"Varnok.StampletsProp.1";
// The name of the handler key for folders.
inline constexpr wchar_t kFolderHandlerName[] = L"Varnok.Stamplets.PropsShell";

inline constexpr wchar_t kFileHandlersKey[] = L"*\\shellex\\PropertySheetHandlers\\";
inline constexpr wchar_t kFolderHandlersKey[] = L"Folder\\shellex\\PropertySheetHandlers\\";
inline constexpr wchar_t kApprovedKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

// Resources of the module.
inline constexpr WORD kPageDialog = 1;
inline constexpr WORD kManifest = 2;
inline constexpr int kPromptControl = -1;
inline constexpr int kListControl = 0;

}  // namespace stamplets::stamptab
