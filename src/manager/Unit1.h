// TForm1, the manager's one main window with its five pages.
//
// The form's code lives in one file per concern:
//   Unit1.cpp         start-up, show, exit and resize, activation, hints
//   FormLayout.cpp    the table of every control with its designer place
//   PageButtons.cpp   ShowPage and the drawn page buttons
//   AboutPage.cpp     the About page
//   LibraryPage.cpp   page 1        ThemesPage.cpp    page 2 and packed themes
//   LanguagePage.cpp  page 4        SettingsPage.cpp  page 5
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "Form.h"
#include "IconCache.h"
#include "InstallFolder.h"
#include "LibraryModel.h"
#include "PathProbe.h"
#include "SortGrid.h"
#include "TntClasses.h"
#include "WideText.h"

namespace stamplets::manager {

// The Library grid: the form makes its window from the table (kind kCustom,
// TSortGrid's window class) and the grid fills it.
using LibraryGrid = win::TSortGrid;

// What a header click on the Library grid asks for; the grid passes its own
// options to StringGrid1ClickSort before it sorts, and keeps them.
using SortOptions = win::TSortOptions;

inline constexpr wchar_t kVersionText[] = L" 1.0.1 Final";

class TForm1 : public win::Form {
 public:
  // Makes the window for the installation folder and runs the start-up
  // sequence; `arguments` are the command-line arguments after the program.
  TForm1(InstallFolder folder, std::vector<WideString> arguments = {});
  ~TForm1() override;

  const InstallFolder& Folder() const { return folder_; }

  // ---- Main window ---------------------------------------------------------
  void FormCreate();
  void FormShow();
  void FormDestroy();
  void FormResize();
  void TntFormActivate();
  void TntFormMouseActivate();
  void t_1Click();
  void t_2Click();
  void t_3Click();
  void t_4Click();
  void t_5Click();
  void ShowPage(int page);
  void TranslateForm();
  void ApplySystemFont();
  // Draws a page caption onto a page-button picture (77 by 67).
  void DrawButtonCaption(HDC picture, SIZE picture_size, WideStringView text);
  void ShowHintInStatusBar();
  void JvNetscapeSplitter1Paint(HDC dc, const RECT& clip);
  void Label10Click();
  void Label17Click();

  // The page whose panel is in front (1 to 5).
  int ShownPage() const;
  // The names of the start-up and show steps as they ran, in order.
  const std::vector<std::string>& Steps() const { return steps_; }
  bool VisualStylesAvailable() const { return visual_styles_available_; }
  // Visual styles available and the system drawing with them now.
  bool VisualStylesInUse() const;
  bool MessageHookInstalled() const { return hooked_; }
  bool AcceptsDroppedFiles() const { return accepts_drops_; }

  // ---- Library page ----------------------------------------------------------
  void LoadLibraryGrid();
  void ReloadLibrary();
  void CheckLibraryChanged();
  void AddLibraryRow(const WideString& path, const WideString& value);
  bool PathLooksValid(const WideString& path);
  bool RowInSelection(int column, int row);
  void Button5Click();
  void Button6Click();
  // Returns whether the cell may be selected.
  bool StringGrid1SelectCell(int column, int row);
  void StringGrid1ClickSort(int column, int row, SortOptions& options);
  void StringGrid1DrawCell(HDC dc, int column, int row, const RECT& rect, UINT state);

  // ---- Themes page and packed themes -------------------------------------------
  void ScanThemes();
  void SelectCurrentTheme();
  void ListBox1Click();
  void ListBox1DblClick();
  void ListBox1MeasureItem(int index, int& height);
  void ListBox1DrawItem(const win::DrawItemArgs& item);
  // `theme_folder`: installation folder, "themes\", the theme's name, "\".
  void ActivateTheme(const WideString& theme_folder);
  void TntLabel8Click();
  void tb_AddThemeClick();
  void HandleDroppedFiles(HDROP drop);
  void tb_DeleteThemeClick();
  void tb_PackThemeClick();

  // ---- Language page -----------------------------------------------------------
  // Appends the names of the folder's entries that match the mask.
  void FindFiles(const std::string& folder, const std::string& mask, TTntStringList& list);
  void LoadCurrentLanguage();
  WideString GetNativeName(const WideString& entry);
  WideString GetTranslationVersion(const WideString& entry);
  void ListBox2Click();
  void ListBox2DblClick();
  void ListBox2MeasureItem(int index, int& height);
  void ListBox2DrawItem(const win::DrawItemArgs& item);
  void ed_wwwClick();
  void ed_EmailClick();
  void Label12Click();

  // ---- Settings page -------------------------------------------------------------
  void ProbeShellIntegration();
  void ListToolbarSets();
  void LoadToolbarSet(const WideString& name);
  void ApplySavedToolbarSet();
  void cbTBThemesChange();
  void cbTBThemesMeasureItem(int index, int& height);
  void cbTBThemesDrawItem(const win::DrawItemArgs& item);
  void Button1Click();

  // ---- Process-wide state ---------------------------------------------------------
  // The store's key names as last loaded.
  std::unique_ptr<TTntStringList> LibraryKeys;
  // Path of a packed theme waiting to be installed; empty when none.
  WideString PendingThemeFile;
  // The Library grid's last clicked header column.
  int LastSortColumn = 2;

  // ---- Controls, by designer name ----------------------------------------------------
  // Main window.
  win::Picture t_1, t_2, t_3, t_4, t_5;
  win::Shape Shape1;
  win::Panel p_1, p_2, p_3, p_4, p_5;
  win::StatusBar StatusBar1;
  win::Picture i_1, i_2, i_3, i_4, i_5;
  // Library page.
  LibraryGrid StringGrid1;
  win::Button Button5, Button6, tbb_ViewAll;
  win::Picture imgInvalid, imgInvalid_Sel, Image6, Image7;
  // Themes page.
  win::Panel TntPanel2, TntPanel1;
  win::ListBox ListBox1;
  win::Button tb_AddTheme, tb_DeleteTheme, tb_PackTheme;
  win::Label TntLabel8;
  win::Picture TntImage1;
  win::Splitter JvNetscapeSplitter1;
  win::Label th_NameCaption, th_AuthorCaption, th_Verl, th_CopyrightCaption;
  win::Edit th_THEME_NAME, th_Author, th_Ver, th_COPYRIGHT;
  win::Edit memo1;
  // About page.
  win::Picture Image1, Image3, Image4;
  win::Label Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label17, Label18,
      Label19, Label20, Label21;
  // Language page.
  win::ListBox ListBox2;
  win::GroupBox GroupBox1;
  win::Label Label13, Label14, Label15, TntLabel7, Label12;
  win::Edit ed_Author, ed_www, ed_Email, ed_CurLang;
  win::Picture Image2, imgCurLang;
  // Settings page.
  win::GroupBox GroupBox2, TntGroupBox1;
  win::CheckBox cb_Menu, cb_Prop, cb_All, cb_Folders;
  win::ComboBox cbTBThemes;
  win::Button Button1;

 private:
  void CreateControls();
  void BindControls();
  void BindEvents();
  void LoadBuiltInPictures();
  // Runs one named step of the start-up or show sequence and records it.
  template <typename Body>
  void Step(const char* name, Body&& body) {
    steps_.emplace_back(name);
    body();
  }
  void PlaceLinkPictures();
  // Library page: the records read into the grid (shared by the loaders),
  // the record-count hint, column 2 fitted to the grid, a note about keys
  // that could not be removed.
  void LoadLibraryRecords();
  void SetLibraryHint();
  void FitLibraryColumns();
  void ReportKeptKeys(const std::vector<WideString>& kept);
  // The About page's texts, set when the window is shown.
  void ShowAboutTexts();
  void Unhook();
  static LRESULT CALLBACK MessageHook(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR data);

  InstallFolder folder_;
  std::vector<WideString> arguments_;
  std::vector<std::string> steps_;
  bool visual_styles_available_ = false;
  bool hooked_ = false;
  bool accepts_drops_ = false;
  bool activating_ = false;
  // A packed theme is being installed (its questions run a message loop).
  bool installing_ = false;
  bool destroyed_ = false;
  // Library page: the records as last loaded with their paths' states, the
  // probe that decides those states, and the stamplet icons of this load.
  LibraryModel library_;
  win::BoundedPathProber library_prober_;
  win::TIconCache library_icons_;
};

}  // namespace stamplets::manager
