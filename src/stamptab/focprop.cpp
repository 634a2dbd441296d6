#include "focprop.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "ActivationContext.h"
#include "Errors.h"
#include "Handles.h"
#include "StampletStore.h"
#include "StamptabClass.h"
#include "TntIniFiles.h"
#include "folfuncs.h"

namespace stamplets::stamptab {

namespace {

constexpr wchar_t kPrompt[] = L"Double click to setup Stamplett for current object:";
constexpr std::array<const wchar_t*, kMaxStamplet + 1> kEntryNames = {
    L"Disabled", L"Certified", L"Cool", L"Danger",   L"Delete", L"Distinguished",
    L"Favorite", L"Important", L"New",  L"Personal", L"Web"};
constexpr int kIconSize = 50;

std::array<WideString, kMaxStamplet + 1> TranslatedNames() {
  std::array<WideString, kMaxStamplet + 1> names;
  for (std::size_t i = 0; i < names.size(); ++i)
    names[i] = folfuncs::Translate(kEntryNames[i]);
  return names;
}

// The text of an entry that holds the item's stamplet.
WideString Marked(const WideString& name) {
  return L"[ " + name + L" ]";
}

// A fully transparent image, standing in for an icon that cannot be loaded
// so that every later icon keeps its index.
void AddBlankImage(HIMAGELIST images) {
  const std::vector<std::uint32_t> pixels(kIconSize * kIconSize, 0);
  const std::vector<std::uint8_t> mask((kIconSize / 16 + 1) * 2 * kIconSize, 0xFF);
  win::unique_hbitmap color(CreateBitmap(kIconSize, kIconSize, 1, 32, pixels.data()));
  win::unique_hbitmap transparent(CreateBitmap(kIconSize, kIconSize, 1, 1, mask.data()));
  ImageList_Add(images, color.get(), transparent.get());
}

// The page of one Properties window. It is made by AddPages, which hands
// it to the sheet through the page record; from then on the sheet owns it
// and the page callback deletes it at PSPCB_RELEASE, the one place it is
// freed. While it lives it holds the module.
class TStampletPage {
 public:
  explicit TStampletPage(WideString target_path)
      : target_path_(std::move(target_path)),
        act_ctx_(win::CreateModuleActCtx(ModuleHandle(), kManifest)) {}

  // Creates the sheet page for a new page object; nullptr when the common
  // controls refuse it.
  static HPROPSHEETPAGE Create(const WideString& target_path);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;
  static UINT CALLBACK PageCallback(HWND window, UINT message, PROPSHEETPAGEW* page) noexcept;
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR data) noexcept;

  void InitDialog(HWND dialog);
  // The double click, and Enter: stores the entry at the selection mark.
  void Choose();
  void ShowError(const WideString& text) const;
  void SetItemText(int item, const WideString& text) const;

  ModuleLock module_lock_;
  const WideString target_path_;
  const win::unique_actctx act_ctx_;
  HWND dialog_ = nullptr;
  HWND list_ = nullptr;
};

HPROPSHEETPAGE TStampletPage::Create(const WideString& target_path) {
  auto page = std::make_unique<TStampletPage>(target_path);
  // The record carries the page object in lParam and, so that the page's
  // controls bind to common controls 6 whatever the host's manifest says,
  // the module's own activation context.
  PROPSHEETPAGEW_V3 record{};
  record.dwSize = sizeof(record);
  record.dwFlags = PSP_USETITLE | PSP_USECALLBACK | PSP_PREMATURE;
  record.hInstance = ModuleHandle();
  record.pszTemplate = MAKEINTRESOURCEW(kPageDialog);
  record.pszTitle = L"Stamplets";
  record.pfnDlgProc = DialogProc;
  record.lParam = reinterpret_cast<LPARAM>(page.get());
  record.pfnCallback = PageCallback;
  if (page->act_ctx_) {
    record.dwFlags |= PSP_USEFUSIONCONTEXT;
    record.hActCtx = page->act_ctx_.get();
  }
  HPROPSHEETPAGE handle;
  {
    win::ActivationScope scope(page->act_ctx_.get());
    handle = CreatePropertySheetPageW(reinterpret_cast<PROPSHEETPAGEW*>(&record));
  }
  if (handle) page.release();  // now the sheet's, freed at PSPCB_RELEASE
  return handle;
}

UINT CALLBACK TStampletPage::PageCallback(HWND, UINT message, PROPSHEETPAGEW* record) noexcept {
  if (message == PSPCB_RELEASE && record) delete reinterpret_cast<TStampletPage*>(record->lParam);
  return 1;
}

INT_PTR CALLBACK TStampletPage::DialogProc(HWND dialog, UINT message, WPARAM,
                                           LPARAM lparam) noexcept {
  try {
    if (message == WM_INITDIALOG) {
      auto* record = reinterpret_cast<PROPSHEETPAGEW*>(lparam);
      auto* page = reinterpret_cast<TStampletPage*>(record->lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
      page->InitDialog(dialog);
      return TRUE;
    }
    auto* page = reinterpret_cast<TStampletPage*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (page && message == WM_NOTIFY) {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom == static_cast<UINT_PTR>(kListControl) && header->code == NM_DBLCLK) {
        page->Choose();
        return TRUE;
      }
    }
  } catch (...) {
    // Nothing may leave the dialog procedure; the message gets the default.
  }
  return FALSE;
}

LRESULT CALLBACK TStampletPage::ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                         UINT_PTR id, DWORD_PTR data) noexcept {
  try {
    switch (message) {
      case WM_GETDLGCODE: {
        // Enter on a selected entry belongs to the list, not to the sheet's
        // default button.
        const auto* msg = reinterpret_cast<const MSG*>(lparam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
            SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0)
          return DefSubclassProc(list, message, wparam, lparam) | DLGC_WANTMESSAGE;
        break;
      }
      case WM_KEYDOWN:
        if (wparam == VK_RETURN) {
          reinterpret_cast<TStampletPage*>(data)->Choose();
          return 0;
        }
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(list, ListProc, id);
        break;
    }
  } catch (...) {
    // Nothing may leave the window procedure.
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

void TStampletPage::SetItemText(int item, const WideString& text) const {
  LVITEMW lv{};
  lv.iSubItem = 0;
  lv.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list_, LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lv));
}

void TStampletPage::InitDialog(HWND dialog) {
  dialog_ = dialog;
  list_ = GetDlgItem(dialog, kListControl);

  // The prompt has no usable identifier; it is found by its English text.
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t text[std::size(kPrompt) + 1] = {};
    GetWindowTextW(child, text, static_cast<int>(std::size(text)));
    if (WideStringView(text) == kPrompt) {
      SetWindowTextW(child, folfuncs::Translate(kPrompt).c_str());
      break;
    }
  }
  if (!list_) return;
  SetWindowSubclass(list_, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));

  const auto names = TranslatedNames();
  const InstallFolder folder = folfuncs::InstallationFolder();
  win::unique_himagelist images(
      ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, kMaxStamplet, 0));
  if (images) {
    for (int i = 0; i <= kMaxStamplet; ++i) {
      win::unique_hicon icon(
          static_cast<HICON>(LoadImageW(nullptr, folder.CurrentIcon(i).c_str(), IMAGE_ICON,
                                        kIconSize, kIconSize, LR_LOADFROMFILE)));
      if (icon) ImageList_AddIcon(images.get(), icon.get());
      if (ImageList_GetImageCount(images.get()) == i) AddBlankImage(images.get());
    }
    // The list view owns its image list and destroys it with itself.
    SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images.release()));
  }

  for (int i = 0; i <= kMaxStamplet; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = const_cast<wchar_t*>(names[static_cast<std::size_t>(i)].c_str());
    item.iImage = i;
    SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(list_, LVM_SETBKCOLOR, 0, GetSysColor(COLOR_BTNFACE));
  SendMessageW(list_, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
  SendMessageW(list_, LVM_SETTEXTCOLOR, 0, GetSysColor(COLOR_BTNTEXT));

  // A stored number outside 0 to 10 names no entry and marks none.
  const int stored = folfuncs::ReadStamplet(target_path_);
  if (stored >= 0 && stored <= kMaxStamplet)
    SetItemText(stored, Marked(names[static_cast<std::size_t>(stored)]));
}

void TStampletPage::Choose() {
  if (SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0) <= 0) return;
  const int chosen = static_cast<int>(SendMessageW(list_, LVM_GETSELECTIONMARK, 0, 0));
  if (chosen < 0 || chosen > kMaxStamplet) return;

  try {
    folfuncs::WriteStamplet(target_path_, chosen);
  } catch (const EStoreKeyError& error) {
    ShowError(error.Message());
    return;
  } catch (const EIniFileException& error) {
    ShowError(L"Unable to write to " + error.Path());
    return;
  }
  SHChangeNotify(SHCNE_ATTRIBUTES, SHCNF_PATHW, target_path_.c_str(), nullptr);
  SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, target_path_.c_str(), nullptr);

  const auto names = TranslatedNames();
  for (int i = 0; i <= kMaxStamplet; ++i)
    SetItemText(i, names[static_cast<std::size_t>(i)]);
  const int mark = static_cast<int>(SendMessageW(list_, LVM_GETSELECTIONMARK, 0, 0));
  if (mark >= 0 && mark <= kMaxStamplet)
    SetItemText(mark, Marked(names[static_cast<std::size_t>(mark)]));
}

void TStampletPage::ShowError(const WideString& text) const {
  const WideString caption = L"Stamplets: " + folfuncs::Translate(L"Error");
  // Owned by the Properties window, which stays disabled while it shows.
  MessageBoxW(GetAncestor(dialog_, GA_ROOT), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

// Owns a storage medium for the length of a scope.
class StorageMedium {
 public:
  StorageMedium() = default;
  ~StorageMedium() { ReleaseStgMedium(&medium_); }
  StorageMedium(const StorageMedium&) = delete;
  StorageMedium& operator=(const StorageMedium&) = delete;
  STGMEDIUM* get() { return &medium_; }

 private:
  STGMEDIUM medium_{};
};

}  // namespace

TFolPropSheet::TFolPropSheet() {
  InitCommonControls();
}

HRESULT TFolPropSheet::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) noexcept {
  return win::ComBoundary([&]() -> HRESULT {
    if (!data) return E_FAIL;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    StorageMedium medium;
    const HRESULT got = data->GetData(&format, medium.get());
    if (FAILED(got)) return got;
    auto drop = static_cast<HDROP>(medium.get()->hGlobal);
    // The page is offered only when exactly one item is selected.
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) != 1) return E_FAIL;
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0) return E_FAIL;
    WideString path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
    target_path_ = std::move(path);
    return S_OK;
  });
}

HRESULT TFolPropSheet::AddPages(LPFNSVADDPROPSHEETPAGE add_page, LPARAM lparam) noexcept {
  return win::ComBoundary([&]() -> HRESULT {
    if (target_path_.empty() || !add_page) return S_OK;
    HPROPSHEETPAGE page = TStampletPage::Create(target_path_);
    if (page && !add_page(page, lparam)) DestroyPropertySheetPage(page);
    return S_OK;
  });
}

HRESULT TFolPropSheet::ReplacePage(EXPPS, LPFNSVADDPROPSHEETPAGE, LPARAM) noexcept {
  return E_NOTIMPL;
}

TFolPropSheetFactory::TFolPropSheetFactory()
    : TComObjectFactory(CLSID_FolPropSheet, kDescription, []() -> IUnknown* {
        return static_cast<IShellExtInit*>(new TFolPropSheet);
      }) {}

WideString TFolPropSheetFactory::ReportProgID() const {
  return {};
}

void TFolPropSheetFactory::WriteRegistration(bool register_class,
                                             const win::RegistryRoots& roots) const {
  const WideString class_id = ClassIdText();
  const WideString file_handler = WideString(kFileHandlersKey) + kDescription;
  const WideString folder_handler = WideString(kFolderHandlersKey) + kFolderHandlerName;
  const WideString server_key = L"CLSID\\" + class_id + L"\\InprocServer32";
  if (register_class) {
    TComObjectFactory::WriteRegistration(true, roots);
    SetApproval(true, class_id, roots);
    const win::RegistryEntry entries[] = {
        {roots.classes, file_handler, L"", class_id},
        {roots.classes, server_key, L"ThreadingModel", L"Apartment"},
        {roots.classes, folder_handler, L"", class_id},
    };
    win::WriteRegistryEntries(entries);
  } else {
    TComObjectFactory::WriteRegistration(false, roots);
    SetApproval(false, class_id, roots);
    win::DeleteRegistryTree(roots.classes, file_handler);
    win::DeleteRegistryTree(roots.classes, folder_handler);
  }
}

void TFolPropSheetFactory::SetApproval(bool register_class, const WideString& class_id,
                                       const win::RegistryRoots& roots) const {
  if (register_class)
    win::WriteOptionalRegistryValue({roots.machine, kApprovedKey, class_id, Description()});
  else
    win::DeleteRegistryValue(roots.machine, kApprovedKey, class_id);
}

TFolPropSheetFactory& FolPropSheetFactory() {
  static TFolPropSheetFactory factory;
  return factory;
}

}  // namespace stamplets::stamptab
