// Every control of the main window, where the designer put it.
#include "Unit1.h"
#include "Links.h"

namespace stamplets::manager {

namespace {

using win::ControlKind;
using win::ControlSpec;
using win::FontSpec;
using namespace layout;

constexpr unsigned kLT = kLeft | kTop;
constexpr unsigned kRT = kRight | kTop;
constexpr unsigned kLB = kLeft | kBottom;
constexpr unsigned kRB = kRight | kBottom;
constexpr unsigned kLTR = kLeft | kTop | kRight;
constexpr unsigned kTRB = kTop | kRight | kBottom;

constexpr FontSpec kBold{L"Tahoma", -11, true};
constexpr FontSpec kFieldFont{L"Tahoma", -11, false};
constexpr FontSpec kTitleFont{L"Tahoma", -16, true};
constexpr FontSpec kSignFont{L"Tahoma", -19, true};
constexpr FontSpec kSymbolFont{L"Marlett", -19, false};

constexpr ControlKind kPanel = ControlKind::kPanel;
constexpr ControlKind kGroupBox = ControlKind::kGroupBox;
constexpr ControlKind kPicture = ControlKind::kPicture;
constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kButton = ControlKind::kButton;
constexpr ControlKind kCheckBox = ControlKind::kCheckBox;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kMemo = ControlKind::kMemo;
constexpr ControlKind kListBox = ControlKind::kListBox;
constexpr ControlKind kComboBox = ControlKind::kComboBox;

using win::kCentred;
using win::kChecked;
using win::kHandCursor;
using win::kHidden;
using win::kLinkLook;
using win::kReadOnly;
using win::kRightJustify;

// Parents come before their children; siblings made first lie on top.
const ControlSpec kRows[] = {
    // Page buttons, the separator, the five pages and the status bar.
    {kPicture, L"t_1", nullptr, 8, 1, 77, 67, kLT, L"", L"Data-base mainteance"},
    {kPicture, L"t_2", nullptr, 85, 1, 77, 67, kLT, L"", L"Select theme for Stamplets"},
    {kPicture, L"t_4", nullptr, 162, 0, 77, 67, kLT, L"", L"Select Language"},
    {kPicture, L"t_5", nullptr, 240, 0, 77, 67, kLT, L"", L"Setup some options"},
    {kPicture, L"t_3", nullptr, 516, 0, 77, 67, kRT, L"", L"Show Information about application"},
    {ControlKind::kShape, L"Shape1", nullptr, 1, 68, 700, 2, kLTR},
    {kPanel, L"p_1", nullptr, 8, 76, 580, 351, kAllSides},
    {kPanel, L"p_2", nullptr, 8, 76, 580, 351, kAllSides},
    {kPanel, L"p_3", nullptr, 8, 71, 580, 357, kAllSides},
    {kPanel, L"p_4", nullptr, 8, 73, 580, 354, kAllSides},
    {kPanel, L"p_5", nullptr, 8, 73, 580, 357, kAllSides},
    {ControlKind::kStatusBar, L"StatusBar1", nullptr, 0, 434, 596, 19, kBottom},
    {kPicture, L"i_1", nullptr, 0, 0, 32, 32, kLT, L"", L"", kHidden},
    {kPicture, L"i_2", nullptr, 0, 0, 32, 32, kLT, L"", L"", kHidden},
    {kPicture, L"i_3", nullptr, 0, 0, 32, 32, kLT, L"", L"", kHidden},
    {kPicture, L"i_4", nullptr, 0, 0, 32, 32, kLT, L"", L"", kHidden},
    {kPicture, L"i_5", nullptr, 0, 0, 32, 32, kLT, L"", L"", kHidden},
    {kMemo, L"memo1", nullptr, 0, 0, 100, 50, kLT, L"", L"", kHidden | kReadOnly},

    // Library page.
    {ControlKind::kCustom,
     L"StringGrid1",
     L"p_1",
     2,
     2,
     573,
     314,
     kAllSides,
     L"",
     L"",
     0,
     {},
     win::TSortGrid::kWindowClass},
    {kButton, L"Button5", L"p_1", 6, 324, 110, 25, kLB, L"Remove",
     L"Remove all Selected records ..."},
    {kButton, L"Button6", L"p_1", 122, 324, 167, 25, kLB, L"Remove invalid",
     L"Remove all Invalid records ..."},
    {kButton, L"tbb_ViewAll", L"p_1", 497, 324, 75, 25, kRB, L"View all", L"", kHidden},
    {kPicture, L"imgInvalid", L"p_1", 0, 0, 10, 10, kLT, L"", L"", kHidden},
    {kPicture, L"imgInvalid_Sel", L"p_1", 0, 0, 10, 10, kLT, L"", L"", kHidden},
    {kPicture, L"Image6", L"p_1", 0, 0, 14, 14, kLT, L"", L"", kHidden},
    {kPicture, L"Image7", L"p_1", 0, 0, 14, 14, kLT, L"", L"", kHidden},

    // Themes page: the list area, the splitter and the information panel.
    {kPanel, L"TntPanel2", L"p_2", 0, 0, 385, 351, kAllSides},
    {kListBox, L"ListBox1", L"TntPanel2", 0, 0, 385, 318, kAllSides, L"",
     L"Double click to set up selected theme as Current"},
    {kButton, L"tb_AddTheme", L"TntPanel2", 0, 324, 26, 26, kLB, L"+", L"Add new Theme ...", 0,
     kSignFont},
    {kButton, L"tb_DeleteTheme", L"TntPanel2", 30, 324, 26, 26, kLB, L"-",
     L"Delete selected theme ...", 0, kSignFont},
    {kButton, L"tb_PackTheme", L"TntPanel2", 60, 324, 26, 26, kLB, L"7",
     L"Create Varnok Stamplets Zipped Theme for Distribution ...", kHidden, kSymbolFont},
    {kLabel, L"TntLabel8", L"TntPanel2", 280, 331, 105, 13, kRB, L"Get more themes ...",
     L"Open www-page where you may download additional themes for Stamplets  ...",
     kLinkLook | kRightJustify},
    {kPicture, L"TntImage1", L"TntPanel2", 260, 330, 16, 16, kRB, L"",
     L"Open www-page where you may download additional themes for Stamplets  ...", kHandCursor},
    {ControlKind::kSplitter, L"JvNetscapeSplitter1", L"p_2", 385, 0, 9, 351, kTRB},
    {kPanel, L"TntPanel1", L"p_2", 394, 0, 186, 351, kTRB},
    {kLabel, L"th_NameCaption", L"TntPanel1", 4, 2, 100, 13, kLT, L"Name:", L"", 0, kBold},
    {kEdit, L"th_THEME_NAME", L"TntPanel1", 4, 17, 178, 21, kLTR, L"", L"", kReadOnly, kFieldFont},
    {kLabel, L"th_AuthorCaption", L"TntPanel1", 4, 45, 100, 13, kLT, L"Author:", L"", 0, kBold},
    {kEdit, L"th_Author", L"TntPanel1", 4, 60, 178, 21, kLTR, L"", L"", kReadOnly, kFieldFont},
    {kLabel, L"th_Verl", L"TntPanel1", 4, 88, 100, 13, kLT, L"Created for version:", L"", 0, kBold},
    {kEdit, L"th_Ver", L"TntPanel1", 4, 103, 178, 21, kLTR, L"", L"", kReadOnly, kFieldFont},
    {kLabel, L"th_CopyrightCaption", L"TntPanel1", 4, 131, 100, 13, kLT, L"Legal notice:", L"", 0,
     kBold},
    {kMemo, L"th_COPYRIGHT", L"TntPanel1", 4, 146, 178, 201, kAllSides, L"", L"", kReadOnly,
     kFieldFont},

    // About page.
    {kPicture, L"Image1", L"p_3", 8, 8, 142, 142, kLT, L"", L"", kCentred},
    {kLabel, L"Label3", L"p_3", 162, 12, 200, 19, kLT, L"Stamplets Manager", L"", 0, kTitleFont},
    {kLabel, L"Label4", L"p_3", 162, 40, 200, 13, kLT, L"Version:", L"", 0, kBold},
    {kLabel, L"Label5", L"p_3", 162, 60, 200, 13, kLT,
     L"Freeware: free to use, copy and give away"},
    {kLabel, L"Label6", L"p_3", 162, 78, 200, 13, kLT, L"Copyright"},
    {kLabel, L"Label7", L"p_3", 162, 96, 200, 13, kLT, L"Made by people who keep many files"},
    {kLabel, L"Label20", L"p_3", 162, 126, 100, 13, kLT, L"Coding:", L"", 0, kBold},
    {kLabel, L"Label9", L"p_3", 220, 126, 100, 13, kLT, L"The Stamplets team"},
    {kLabel, L"Label21", L"p_3", 162, 144, 100, 13, kLT, L"Idea && Design: ", L"", 0, kBold},
    {kLabel, L"Label8", L"p_3", 260, 144, 100, 13, kLT, L"The Stamplets team"},
    {kPicture, L"Image3", L"p_3", 162, 173, 16, 16, kLT},
    {kLabel, L"Label18", L"p_3", 182, 174, 100, 13, kLT, L"Official site:", L"", 0, kBold},
    {kLabel, L"Label10", L"p_3", 270, 174, 100, 13, kLT, kWebPageCaption, L"", kLinkLook},
    {kPicture, L"Image4", L"p_3", 162, 193, 16, 16, kLT},
    {kLabel, L"Label19", L"p_3", 182, 194, 100, 13, kLT, L"Support:", L"", 0, kBold},
    {kLabel, L"Label17", L"p_3", 250, 194, 100, 13, kLT, kSupportMail, L"", kLinkLook},

    // Language page.
    {kListBox, L"ListBox2", L"p_4", 0, 0, 330, 322, kAllSides, L"",
     L"Double click to setup language as current."},
    {kGroupBox, L"GroupBox1", L"p_4", 338, 0, 242, 156, kRT},
    {kLabel, L"Label13", L"GroupBox1", 10, 18, 100, 13, kLT, L"Translated by:", L"", 0, kBold},
    {kEdit, L"ed_Author", L"GroupBox1", 10, 33, 222, 21, kLTR, L"", L"", kReadOnly},
    {kLabel, L"Label14", L"GroupBox1", 10, 62, 100, 13, kLT, L"Site:", L"", 0, kBold},
    {kEdit, L"ed_www", L"GroupBox1", 10, 77, 222, 21, kLTR, L"", L"", kReadOnly | kLinkLook},
    {kLabel, L"Label15", L"GroupBox1", 10, 106, 100, 13, kLT, L"E-mail:", L"", 0, kBold},
    {kEdit, L"ed_Email", L"GroupBox1", 10, 121, 222, 21, kLTR, L"", L"", kReadOnly | kLinkLook},
    {kEdit, L"ed_CurLang", L"GroupBox1", 10, 130, 100, 21, kLT, L"Default", L"", kHidden},
    {kLabel, L"TntLabel7", L"p_4", 0, 333, 260, 13, kLB,
     L"* Please Restart application to apply Language", L"", 0, kBold},
    {kLabel, L"Label12", L"p_4", 440, 333, 140, 13, kRB, L"Get more language files ...", L"",
     kLinkLook | kRightJustify},
    {kPicture, L"Image2", L"p_4", 420, 332, 16, 16, kRB},
    {kPicture, L"imgCurLang", L"p_4", 0, 0, 14, 14, kLT, L"", L"", kHidden},

    // Settings page.
    {kGroupBox, L"GroupBox2", L"p_5", 10, 10, 562, 112, kLTR, L"Integration to Shell"},
    {kCheckBox, L"cb_Menu", L"GroupBox2", 16, 32, 529, 17, kLT,
     L"Add an item to Explorer's context menu for all filesystem objects", L"", kChecked},
    {kCheckBox, L"cb_Prop", L"GroupBox2", 16, 71, 529, 17, kLT,
     L"Add a tab to the Properties dialogue window for all filesystem objects", L"", kChecked},
    {kCheckBox, L"cb_All", L"GroupBox2", 47, 118, 97, 17, kLT, L"Menu for All files", L"",
     kChecked | kHidden},
    {kCheckBox, L"cb_Folders", L"GroupBox2", 47, 142, 97, 17, kLT, L"Menu for Folders", L"",
     kChecked | kHidden},
    {kGroupBox, L"TntGroupBox1", L"p_5", 7, 133, 562, 100, kLTR, L"Theme of Toolbar"},
    {kComboBox, L"cbTBThemes", L"TntGroupBox1", 16, 32, 363, 42, kLT},
    {kButton, L"Button1", L"p_5", 497, 322, 75, 25, kRB, L"Apply"},
};

}  // namespace

void TForm1::CreateControls() {
  CreateForm(L"Stamplets Manager", 596, 453, kRows, std::size(kRows));
}

void TForm1::BindControls() {
  auto bind = [this](auto& view, const wchar_t* name) {
    view = std::remove_reference_t<decltype(view)>(Get(name));
  };
#define STAMPLETS_BIND(name) bind(name, L## #name)
  STAMPLETS_BIND(t_1);
  STAMPLETS_BIND(t_2);
  STAMPLETS_BIND(t_3);
  STAMPLETS_BIND(t_4);
  STAMPLETS_BIND(t_5);
  STAMPLETS_BIND(Shape1);
  STAMPLETS_BIND(p_1);
  STAMPLETS_BIND(p_2);
  STAMPLETS_BIND(p_3);
  STAMPLETS_BIND(p_4);
  STAMPLETS_BIND(p_5);
  STAMPLETS_BIND(StatusBar1);
  STAMPLETS_BIND(i_1);
  STAMPLETS_BIND(i_2);
  STAMPLETS_BIND(i_3);
  STAMPLETS_BIND(i_4);
  STAMPLETS_BIND(i_5);
  STAMPLETS_BIND(memo1);
  STAMPLETS_BIND(Button5);
  STAMPLETS_BIND(Button6);
  STAMPLETS_BIND(tbb_ViewAll);
  STAMPLETS_BIND(imgInvalid);
  STAMPLETS_BIND(imgInvalid_Sel);
  STAMPLETS_BIND(Image6);
  STAMPLETS_BIND(Image7);
  STAMPLETS_BIND(TntPanel2);
  STAMPLETS_BIND(ListBox1);
  STAMPLETS_BIND(tb_AddTheme);
  STAMPLETS_BIND(tb_DeleteTheme);
  STAMPLETS_BIND(tb_PackTheme);
  STAMPLETS_BIND(TntLabel8);
  STAMPLETS_BIND(TntImage1);
  STAMPLETS_BIND(JvNetscapeSplitter1);
  STAMPLETS_BIND(TntPanel1);
  STAMPLETS_BIND(th_NameCaption);
  STAMPLETS_BIND(th_THEME_NAME);
  STAMPLETS_BIND(th_AuthorCaption);
  STAMPLETS_BIND(th_Author);
  STAMPLETS_BIND(th_Verl);
  STAMPLETS_BIND(th_Ver);
  STAMPLETS_BIND(th_CopyrightCaption);
  STAMPLETS_BIND(th_COPYRIGHT);
  STAMPLETS_BIND(Image1);
  STAMPLETS_BIND(Label3);
  STAMPLETS_BIND(Label4);
  STAMPLETS_BIND(Label5);
  STAMPLETS_BIND(Label6);
  STAMPLETS_BIND(Label7);
  STAMPLETS_BIND(Label20);
  STAMPLETS_BIND(Label9);
  STAMPLETS_BIND(Label21);
  STAMPLETS_BIND(Label8);
  STAMPLETS_BIND(Image3);
  STAMPLETS_BIND(Label18);
  STAMPLETS_BIND(Label10);
  STAMPLETS_BIND(Image4);
  STAMPLETS_BIND(Label19);
  STAMPLETS_BIND(Label17);
  STAMPLETS_BIND(ListBox2);
  STAMPLETS_BIND(GroupBox1);
  STAMPLETS_BIND(Label13);
  STAMPLETS_BIND(ed_Author);
  STAMPLETS_BIND(Label14);
  STAMPLETS_BIND(ed_www);
  STAMPLETS_BIND(Label15);
  STAMPLETS_BIND(ed_Email);
  STAMPLETS_BIND(ed_CurLang);
  STAMPLETS_BIND(TntLabel7);
  STAMPLETS_BIND(Label12);
  STAMPLETS_BIND(Image2);
  STAMPLETS_BIND(imgCurLang);
  STAMPLETS_BIND(GroupBox2);
  STAMPLETS_BIND(cb_Menu);
  STAMPLETS_BIND(cb_Prop);
  STAMPLETS_BIND(cb_All);
  STAMPLETS_BIND(cb_Folders);
  STAMPLETS_BIND(TntGroupBox1);
  STAMPLETS_BIND(cbTBThemes);
  STAMPLETS_BIND(Button1);
#undef STAMPLETS_BIND
  // The form made the grid's window; the grid fills it with its three columns.
  StringGrid1.Attach(Get(L"StringGrid1").hwnd, 3);
  JvNetscapeSplitter1.SetNeighbours(TntPanel2.Record(), TntPanel1.Record());
}

}  // namespace stamplets::manager
