// A copy of Stamptab.dll in an installation folder of its own (the laid-out
// icons and language files beside it), loaded into the test process, and
// the shell's side of the page: data objects for Initialize, a modeless
// property sheet for AddPages, and reading the page's list.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "Handles.h"
#include "InstallFolder.h"
#include "TestSupport.h"

namespace stamplets::test {

// The loaded copy; one per test program, so that module-wide counts are
// the program's own.
class StamptabModule {
 public:
  static StamptabModule& Get();

  const InstallFolder& Folder() const { return folder_; }
  const WideString& DllPath() const { return dll_path_; }
  HMODULE Handle() const { return module_.get(); }

  HRESULT GetClassObject(REFCLSID class_id, REFIID iid, void** out) const;
  HRESULT CanUnloadNow() const;
  HRESULT Register() const;
  HRESULT Unregister() const;

  // A new handler object from the class factory.
  win::ComPtr<IShellExtInit> CreateHandler() const;

  // base.ini and settings.ini of the folder, written as UTF-16 text (an
  // empty text removes the file).
  void WriteStore(WideStringView text) const;
  void WriteSettings(WideStringView text) const;

 private:
  StamptabModule();
  TempDir root_;
  InstallFolder folder_;
  WideString dll_path_;
  win::unique_hmodule module_;
};

// A file created in a fresh folder, with the given name.
class TestFile {
 public:
  explicit TestFile(WideStringView name);
  const WideString& Path() const { return path_; }

 private:
  TempDir dir_;
  WideString path_;
};

// The shell's own data object for items of one folder.
win::ComPtr<IDataObject> ShellDataObject(const std::vector<WideString>& paths);
// A data object that offers the names as CF_HDROP and nothing else; for
// names the shell cannot parse (longer than MAX_PATH).
win::ComPtr<IDataObject> DropDataObject(const std::vector<WideString>& paths);

// A modeless property sheet holding the pages that handlers added.
class ModelessSheet {
 public:
  explicit ModelessSheet(const std::vector<IShellExtInit*>& handlers);
  ~ModelessSheet();
  ModelessSheet(const ModelessSheet&) = delete;
  ModelessSheet& operator=(const ModelessSheet&) = delete;

  HWND Window() const { return sheet_; }
  int PageCount() const { return static_cast<int>(pages_.size()); }
  HWND Page(int index) const;
  // The list view of the page.
  HWND List(int index = 0) const;
  // Handles every queued message as a modeless sheet's loop does.
  void Pump() const;

 private:
  std::vector<HPROPSHEETPAGE> pages_;
  HWND sheet_ = nullptr;
};

WideString ItemText(HWND list, int item);
int ItemImage(HWND list, int item);
std::vector<WideString> ItemTexts(HWND list);
// Selects the one entry (making it the selection mark) and sends the page
// the list's double-click notification.
void DoubleClick(HWND list, int item);
// Removes every selection and sends the double click.
void DoubleClickNothing(HWND list);

// The shell's change notifications for items, as (event, path) in the
// order they arrive on this thread's window.
class ChangeNotifications {
 public:
  ChangeNotifications();
  ~ChangeNotifications();
  ChangeNotifications(const ChangeNotifications&) = delete;
  ChangeNotifications& operator=(const ChangeNotifications&) = delete;

  // Handles queued messages, then gives what arrived so far.
  std::vector<std::pair<LONG, WideString>> Received();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND window_ = nullptr;
  ULONG registration_ = 0;
  std::vector<std::pair<LONG, WideString>> events_;
};

// Watches for a message box with the caption while it lives, takes its
// text and closes it with OK.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(WideString caption);
  ~MessageBoxWatcher();
  // Waits a while for a box to have been seen and closed.
  bool Seen();
  WideString Text() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
  win::unique_handle thread_;
};

}  // namespace stamplets::test
