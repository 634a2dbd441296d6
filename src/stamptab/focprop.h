// The "Stamplets" property page of the shell's Properties window: the COM
// class the shell creates for it, and its class factory.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "ComServer.h"
#include "Registry.h"
#include "WideText.h"

namespace stamplets::stamptab {

// The property-sheet handler. The shell hands it the selected item
// (Initialize) and asks it for pages (AddPages); each page it adds keeps
// its own copy of the item's path and lives on without the object.
class TFolPropSheet final : public TComObject<IShellPropSheetExt, IShellExtInit> {
 public:
  TFolPropSheet();

  // IShellExtInit: accepts exactly one item, taken as a CF_HDROP name.
  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data,
                                       HKEY prog_id) noexcept override;
  // IShellPropSheetExt
  HRESULT STDMETHODCALLTYPE AddPages(LPFNSVADDPROPSHEETPAGE add_page,
                                     LPARAM lparam) noexcept override;
  HRESULT STDMETHODCALLTYPE ReplacePage(EXPPS page_id, LPFNSVADDPROPSHEETPAGE replace_with,
                                        LPARAM lparam) noexcept override;

 private:
  WideString target_path_;
};

class TFolPropSheetFactory final : public TComObjectFactory {
 public:
  TFolPropSheetFactory();

  // No ProgID: none is written or removed.
  WideString ReportProgID() const override;
  // The class keys, the approval, and the handler keys for all files and
  // for folders; unregistration removes all of them again.
  void WriteRegistration(bool register_class, const win::RegistryRoots& roots) const override;
  // Sets or removes the class's value in the shell's list of approved
  // extensions. Skipped without error when that key cannot be opened.
  virtual void SetApproval(bool register_class, const WideString& class_id,
                           const win::RegistryRoots& roots) const;
};

// The one factory of the module.
TFolPropSheetFactory& FolPropSheetFactory();

}  // namespace stamplets::stamptab
