// Addresses the manager opens or shows.
#pragma once

namespace stamplets::manager {

inline constexpr wchar_t kWebPage[] = L"https://stamplets.example.org/";
inline constexpr wchar_t kWebPageCaption[] = L"stamplets.example.org";
inline constexpr wchar_t kSupportMail[] = L"support@stamplets.example.org";
inline constexpr wchar_t kMoreThemesPage[] = L"https://stamplets.example.org/themes/";
inline constexpr wchar_t kMoreLanguagesPage[] = L"https://stamplets.example.org/languages/";
// Who wrote the built-in English texts, shown for "English" on the Language page.
inline constexpr wchar_t kEnglishAuthor[] = L"The Stamplets team";
inline constexpr wchar_t kEnglishWeb[] = L"https://stamplets.example.org/";
inline constexpr wchar_t kEnglishMail[] = L"support@stamplets.example.org";

}  // namespace stamplets::manager
