// An installation folder for the Settings tests, with stand-ins copied in
// under the names of the real shell extensions, and a registry without the
// three handler keys before and after each test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InstallFolder.h"
#include "TestSupport.h"

namespace stamplets::test {

// A file built beside the test program (a stand-in DLL), or in one of its
// sub-folders ("genuine\\standin_dependency.dll").
WideString BuiltFile(WideStringView name);

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  InstallFolder Folder() const { return InstallFolder(dir_.Path()); }
  // Copies a built file into the installation folder under `as_name`.
  void Install(WideStringView built_name, WideStringView as_name);
  // The real Stamptab.dll where this tree builds it, else the stand-in; and
  // the stand-in as the menu module.
  void InstallStandIns();
  // True when Stamptab.dll is the real one, which writes no calls.log line.
  static bool RealStamptab();
  // The calls.log lines the stand-ins write for these calls: the Stamptab
  // ones only when Stamptab is a stand-in.
  static std::vector<std::string> ExpectedCalls(std::vector<std::string> calls);
  // The lines of calls.log, without the "prop=..." part when `with_state` is
  // false.
  std::vector<std::string> Calls(bool with_state = true) const;
  static void SetKeys(bool property_page, bool folder_menu, bool file_menu);
  static void RemoveKeys();
  // Makes the stand-ins' entry points return `result` (0 restores success).
  static void ForceResult(HRESULT result);

  TempDir dir_;
};

}  // namespace stamplets::test
