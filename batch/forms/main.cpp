// The main window's design: every control with its place, captions, hints
// and tab order, and the events each one is bound to.
#include "batch/forms/main.h"

#include <optional>
#include <string>
#include <utility>

#include "batch/forms/about.h"
#include "batch/forms/options.h"
#include "toolkit/application.h"
#include "toolkit/label_args.h"

namespace tessavo::batch {
namespace {

using tk::Rect;

constexpr int kClientWidth = 378;
constexpr int kClientHeight = 392;
constexpr int kToolbarHeight = 33;
constexpr int kOptionsHeight = 148;
constexpr int kStatusHeight = 19;
constexpr int kPasswordsTop = kToolbarHeight + kOptionsHeight;
constexpr int kPasswordsHeight = kClientHeight - kPasswordsTop - kStatusHeight;

const tk::Font kTitleFont{.name = "Arial", .height = 19, .bold = true};
const tk::Font kListFont{.name = "Courier", .height = 13};

// The length fields are stepped, never typed into.
tk::SpinEdit::CreateArgs LengthField(Rect bounds, int tabOrder) {
  return {.bounds = bounds, .minValue = 3, .maxValue = 16, .increment = 1,
          .pageIncrement = 10, .value = 3, .allowTyping = false, .tabOrder = tabOrder};
}

// Panel contents: the title; two rows of length controls in the group box,
// with the type and case lists level with them to its right; a line; then
// the amount row, its label above it since the capacity text wants the
// width. Row tops are relative to the group box.
constexpr int kGroupTop = 27;
constexpr int kGroupWidth = 209;
constexpr int kRow1 = 14;
constexpr int kRow2 = 39;
constexpr int kLengthField = 71;
constexpr int kLengthWidth = 42;
constexpr int kRightLabel = 222;
constexpr int kRightField = 255;
constexpr int kRightWidth = kClientWidth - 8 - kRightField;
constexpr int kBevelTop = 98;
constexpr int kAmountTop = 118;
constexpr int kAmountWidth = 80;
constexpr int kMaxLeft = 8 + kAmountWidth + 6;
constexpr int kMaxWidth = 170;
constexpr int kNoDupesLeft = kMaxLeft + kMaxWidth + 8;

// The list and its button column below the passwords title.
constexpr int kListTop = 32;
constexpr int kListWidth = 273;
constexpr int kListHeight = 147;
constexpr int kButtonLeft = 292;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
// Four buttons spread evenly over the list's height: the first level with
// its top, the last with its bottom.
constexpr Rect ButtonBounds(int position) {
  return {kButtonLeft, kListTop + (position * (kListHeight - kButtonHeight) + 1) / 3,
          kButtonWidth, kButtonHeight};
}

}  // namespace

TFrmMain::TFrmMain()
    : Form({.caption = "Quillorn - Multiple Password Generator",
            .clientWidth = kClientWidth,
            .clientHeight = kClientHeight,
            .borderStyle = tk::BorderStyle::Single,
            .borderIcons = {.systemMenu = true, .minimize = true, .maximize = false},
            .font = tk::Font{}}),
      MnuFile(MainMenu.Add({.caption = "&File", .hint = ""})),
      MnuFileGenerate(MnuFile.Add({.caption = "&Generate", .hint = "|Generate passwords"})),
      MnuFileSave(MnuFile.Add(
          {.caption = "&Save", .hint = "|Save generated passwords", .enabled = false})),
      MnuFileSep1(MnuFile.Add({.caption = "-", .hint = ""})),
      MnuFileExit(MnuFile.Add({.caption = "E&xit", .hint = "|Exit program"})),
      MnuView(MainMenu.Add({.caption = "&View", .hint = ""})),
      MnuViewOptions(MnuView.Add({.caption = "&Options", .hint = "|Set program options"})),
      MnuViewSep1(MnuView.Add({.caption = "-", .hint = ""})),
      MnuViewCenterWindow(MnuView.Add(
          {.caption = "&Center Window", .hint = "|Center program window on desktop"})),
      MnuHelp(MainMenu.Add({.caption = "&Help", .hint = ""})),
      MnuHelpAbout(MnuHelp.Add({.caption = "&About...", .hint = "|About Quillorn..."})),

      Toolbar(this, {.height = kToolbarHeight, .buttonWidth = 25, .buttonHeight = 25}),
      SBGenerate(
          Toolbar.AddButton({.picture = "SB_GENERATE", .hint = "Generate|Generate passwords"})),
      SBSave(Toolbar.AddButton({.picture = "SB_SAVE", .hint = "Save|Save generated passwords"})),
      SBSpacer1(Toolbar.AddButton({.picture = "", .hint = "", .separator = true, .width = 8})),
      SBExit(Toolbar.AddButton({.picture = "SB_EXIT", .hint = "Exit|Exit program"})),

      PnlOptions(this, {.bounds = {0, kToolbarHeight, kClientWidth, kOptionsHeight},
                        .outer = tk::BevelStyle::Grooved,
                        .caption = ""}),
      LblOptions(&PnlOptions, {.bounds = {8, 4, 0, 22},
                               .caption = "Password Generation Options",
                               .font = kTitleFont,
                               .shadow = true}),
      GroupPWLength(&PnlOptions,
                    {.bounds = {8, kGroupTop, kGroupWidth, 66}, .caption = "Length Options:"}),
      OptLenFix(&GroupPWLength, {.bounds = {5, kRow1 + 2, 64, 17},
                                 .caption = "Fixed",
                                 .hint = "|Generate fixed length passwords",
                                 .tabOrder = 0}),
      SpinLenFix(&GroupPWLength, LengthField({kLengthField, kRow1, kLengthWidth, 21}, 1)),
      OptLenVar(&GroupPWLength, {.bounds = {5, kRow2 + 2, 64, 17},
                                 .caption = "Variable",
                                 .hint = "|Generate variable length passwords",
                                 .tabOrder = 2}),
      SpinLenVarMin(&GroupPWLength, LengthField({kLengthField, kRow2, kLengthWidth, 21}, 3)),
      LblLenVarMin(&GroupPWLength, tk::LabelIn({116, kRow2 + 4, 0, 13}, "Min")),
      SpinLenVarMax(&GroupPWLength, LengthField({137, kRow2, kLengthWidth, 21}, 4)),
      LblLenVarMax(&GroupPWLength, tk::LabelIn({182, kRow2 + 4, 0, 13}, "Max")),
      LblType(&PnlOptions, tk::LabelIn({kRightLabel, kGroupTop + kRow1 + 4, 0, 13}, "Type:")),
      ComboType(&PnlOptions, {.bounds = {kRightField, kGroupTop + kRow1, kRightWidth, 21},
                              .items = {"Alphabetic", "Alphanumeric", "Numeric"},
                              .hint = "|Type of passwords to generate",
                              .tabOrder = 1}),
      LblCase(&PnlOptions, tk::LabelIn({kRightLabel, kGroupTop + kRow2 + 4, 0, 13}, "Case:")),
      ComboCase(&PnlOptions, {.bounds = {kRightField, kGroupTop + kRow2, kRightWidth, 21},
                              .items = {"all lowercase", "ALL UPPERCASE", "MiXeD cAsE"},
                              .hint = "|Case style to generate",
                              .tabOrder = 2}),
      BevelOptions(&PnlOptions, {.bounds = {8, kBevelTop, kClientWidth - 16, 2}}),
      LblAmount(&PnlOptions, tk::LabelIn({8, kAmountTop - 15, 0, 13}, "Passwords To Generate:")),
      SpinAmt(&PnlOptions, {.bounds = {8, kAmountTop, kAmountWidth, 21},
                            .minValue = 1,
                            .maxValue = 1'000'000,
                            .increment = 1,
                            .pageIncrement = 10,
                            .value = 1,
                            .allowTyping = true,
                            .tabOrder = 3}),
      PnlMaxPW(&PnlOptions, {.bounds = {kMaxLeft, kAmountTop, kMaxWidth, 21},
                             .outer = tk::BevelStyle::Lowered,
                             .caption = ""}),
      ChkNoDupes(&PnlOptions, {.bounds = {kNoDupesLeft, kAmountTop + 2,
                                          kClientWidth - 8 - kNoDupesLeft, 17},
                               .caption = "No duplicates",
                               .hint = "|Allow or disallow duplicate passwords to be generated",
                               .tabOrder = 5}),

      PnlPasswords(this, {.bounds = {0, kPasswordsTop, kClientWidth, kPasswordsHeight},
                          .outer = tk::BevelStyle::Grooved,
                          .caption = ""}),
      LblPasswords(&PnlPasswords, {.bounds = {8, 6, 0, 22},
                                   .caption = "Generated Passwords",
                                   .font = kTitleFont,
                                   .shadow = true}),
      ListPW(&PnlPasswords, {.bounds = {8, kListTop, kListWidth, kListHeight},
                             .font = kListFont,
                             .rowHeight = 13,
                             .tabOrder = 0}),
      BtnClear(&PnlPasswords, {.bounds = ButtonBounds(0),
                               .caption = "&Clear",
                               .hint = "|Remove all passwords",
                               .tabOrder = 1}),
      BtnClipboard(&PnlPasswords,
                   {.bounds = ButtonBounds(1),
                    .caption = "Clip&board",
                    .hint = "|Copy selected password to clipboard",
                    .tabOrder = 4}),
      BtnDelete(&PnlPasswords,
                {.bounds = ButtonBounds(2),
                 .caption = "&Delete",
                 .hint = "|Remove selected password",
                 .tabOrder = 2}),
      BtnSort(&PnlPasswords,
              {.bounds = ButtonBounds(3),
               .caption = "&Sort",
               .hint = "|Sort password list",
               .tabOrder = 3}),

      StatusBar(this, {.height = kStatusHeight}) {
  SetName("FrmMain");
  SetMenu(&MainMenu);
  Toolbar.SetTabOrder(0);
  PnlOptions.SetTabOrder(1);
  PnlPasswords.SetTabOrder(2);
  StatusBar.SetTabOrder(3);
  GroupPWLength.SetTabOrder(0);
  PnlMaxPW.SetTabOrder(4);
  PnlMaxPW.SetHint("|Number of passwords that can be generated using current settings");

  // Nothing to show, save or act on until a run has filled the store.
  SBSave.SetEnabled(false);
  EnableListControls(false);

  BindEvents();
  FormCreate();
  CreateHandle();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::BindEvents() {
  OnClose = [this] { FormClose(); };
  OnCloseQuery = [this](bool&) { RunCloseQuery(); };

  MnuFileGenerate.OnClick = [this] { MnuFileGenerateClick(); };
  MnuFileSave.OnClick = [this] { MnuFileSaveClick(); };
  MnuFileExit.OnClick = [this] { MnuFileExitClick(); };
  MnuViewOptions.OnClick = [this] { MnuViewOptionsClick(); };
  MnuViewCenterWindow.OnClick = [this] { MnuViewCenterWindowClick(); };
  MnuHelpAbout.OnClick = [this] { MnuHelpAboutClick(); };
  SBGenerate.OnClick = [this] { MnuFileGenerateClick(); };
  SBSave.OnClick = [this] { MnuFileSaveClick(); };
  SBExit.OnClick = [this] { MnuFileExitClick(); };

  OptLenFix.OnClick = [this] { DisplaySettings(); };
  OptLenVar.OnClick = [this] { DisplaySettings(); };
  ComboType.OnChange = [this] { DisplaySettings(); };
  ComboCase.OnChange = [this] { DisplaySettings(); };
  SpinLenFix.OnClick = [this] { SpinLenFixClick(); };
  SpinLenVarMin.OnClick = [this] { SpinLenVarMinClick(); };
  SpinLenVarMax.OnClick = [this] { SpinLenVarMaxClick(); };
  SpinAmt.OnKeyPress = [this](char& key) { SpinAmtKeyPress(key); };

  ListPW.OnGetItem = [this](int index, std::string& text) { ListPWGetItem(index, text); };
  BtnClear.OnClick = [this] { BtnClearClick(); };
  BtnDelete.OnClick = [this] { BtnDeleteClick(); };
  BtnSort.OnClick = [this] { BtnSortClick(); };
  BtnClipboard.OnClick = [this] { BtnClipboardClick(); };
}

void TFrmMain::MnuViewOptionsClick() {
  TDlgOptions options(this);
  options.ShowModal();
}

void TFrmMain::MnuHelpAboutClick() {
  TDlgAbout about(this);
  about.ShowModal();
}

void TFrmMain::MnuFileExitClick() { Close(); }

void TFrmMain::MnuViewCenterWindowClick() { CenterOnScreen(); }

}  // namespace tessavo::batch
