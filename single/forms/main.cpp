// The main window's design: every control with its place, captions, hints
// and tab order, and the events each one is bound to.
#include "single/forms/main.h"

#include "single/forms/about.h"
#include "toolkit/application.h"
#include "toolkit/label_args.h"

namespace tessavo::single {
namespace {

using tk::Rect;

constexpr int kClientWidth = 374;
constexpr int kClientHeight = 173;
constexpr int kPasswordHeight = 40;
constexpr int kOptionsHeight = 105;
// What the client area leaves below the other two bands: one pixel short
// of the tool bar's 29, which would otherwise lose its lower edge.
constexpr int kToolbarHeight = kClientHeight - kPasswordHeight - kOptionsHeight;

// The tool bar: five 25-pixel buttons from the left, one pixel apart; the
// two status panels against the right edge, inside the band's frame.
constexpr int kButtonTop = 2;
constexpr int kButtonSize = 25;
constexpr int kSettingsWidth = 58;
constexpr int kStatusWidth = 170;
constexpr int kSettingsLeft = kClientWidth - 2 - kSettingsWidth;
constexpr int kStatusLeft = kSettingsLeft - kStatusWidth;

constexpr Rect ButtonAt(int left) { return {left, kButtonTop, kButtonSize, kButtonSize}; }

}  // namespace

const std::vector<tk::NamedColor>& PasswordColors() {
  static const std::vector<tk::NamedColor> colors = {
      {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000},   {"Olive", 0x008080},
      {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},    {"Gray", 0x808080},
      {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},    {"Yellow", 0x00FFFF},
      {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},   {"White", 0xFFFFFF},
  };
  return colors;
}

TFrmMain::TFrmMain()
    : Form({.caption = "Tessavo - Single Password Generator",
            .clientWidth = kClientWidth,
            .clientHeight = kClientHeight,
            .borderStyle = tk::BorderStyle::Dialog,
            .borderIcons = {.systemMenu = true, .minimize = false, .maximize = false},
            .font = tk::Font{}}),
      PnlPassword(this, {.bounds = {0, 0, kClientWidth, kPasswordHeight},
                         .outer = tk::BevelStyle::Raised}),
      LblPwData(&PnlPassword, {.bounds = {5, 6, 360, 25},
                               .caption = "",
                               .font = tk::Font{.name = "Arial", .height = 21, .bold = true,
                                                .color = tk::Color(PasswordDesignColor)},
                               .align = tk::TextAlign::Center}),

      PnlOptions(this, {.bounds = {0, kPasswordHeight, kClientWidth, kOptionsHeight},
                        .outer = tk::BevelStyle::Raised}),
      LblLength(&PnlOptions, tk::LabelAt(10, 8, "Length")),
      TxtLength(&PnlOptions,
                {.bounds = {10, 24, 97, 21}, .text = "4", .readOnly = true, .tabOrder = 0}),
      UpDownLength(&PnlOptions, {.bounds = {107, 24, 15, 21},
                                 .associate = &TxtLength,
                                 .min = 4,
                                 .max = 16,
                                 .position = 4,
                                 .wrap = false,
                                 .tabOrder = 1}),
      LblType(&PnlOptions, tk::LabelAt(130, 8, "Type")),
      ComboType(&PnlOptions, {.bounds = {130, 24, 112, 21},
                              .items = {"Alphabetic", "Alphanumeric", "Numeric"},
                              .tabOrder = 2}),
      LblCase(&PnlOptions, tk::LabelAt(250, 8, "Case")),
      ComboCase(&PnlOptions, {.bounds = {250, 24, 112, 21},
                              .items = {"all lowercase", "ALL UPPERCASE", "MiXeD cAsE"},
                              .tabOrder = 3}),
      BevelOptions(&PnlOptions, {.bounds = {10, 50, 351, 2}}),
      LblColor(&PnlOptions, tk::LabelAt(10, 61, "Password Color:")),
      ComboColor(&PnlOptions, {.bounds = {91, 56, 151, 22},
                               .colors = PasswordColors(),
                               .dropDownCount = 4,
                               .tabOrder = 4}),
      ChkOntop(&PnlOptions, {.bounds = {267, 59, 95, 17},
                             .caption = "Always On Top",
                             .hint = "|Make window always visible",
                             .tabOrder = 5}),
      ChkStartupGen(&PnlOptions, {.bounds = {10, 82, 166, 17},
                                  .caption = "Generate password on startup",
                                  .tabOrder = 6}),
      ChkAutoClip(&PnlOptions, {.bounds = {267, 82, 90, 17},
                                .caption = "Auto Clipboard",
                                .hint = "|Copy to clipboard on generate",
                                .tabOrder = 7}),

      PnlToolbar(this, {.bounds = {0, kPasswordHeight + kOptionsHeight, kClientWidth,
                                   kToolbarHeight},
                        .outer = tk::BevelStyle::Raised}),
      SBRun(&PnlToolbar, {.bounds = ButtonAt(10), .picture = "SB_RUN", .hint = "|Generate password"}),
      SBCopy(&PnlToolbar,
             {.bounds = ButtonAt(36), .picture = "SB_COPY", .hint = "|Copy password to clipboard"}),
      SBOptions(&PnlToolbar,
                {.bounds = ButtonAt(62), .picture = "SB_OPTIONS", .hint = "|Show/Hide options"}),
      SBAbout(&PnlToolbar, {.bounds = ButtonAt(88), .picture = "SB_ABOUT", .hint = "|About..."}),
      SBExit(&PnlToolbar, {.bounds = ButtonAt(114), .picture = "SB_EXIT", .hint = "|Exit program"}),
      PnlStatus(&PnlToolbar, {.bounds = {kStatusLeft, kButtonTop, kStatusWidth, kButtonSize},
                              .outer = tk::BevelStyle::Lowered,
                              .alignment = -1,
                              .margin = 3}),
      PnlSettings(&PnlToolbar,
                  {.bounds = {kSettingsLeft, kButtonTop, kSettingsWidth, kButtonSize},
                   .outer = tk::BevelStyle::Lowered}) {
  SetName("FrmMain");
  PnlPassword.SetTabOrder(0);
  PnlOptions.SetTabOrder(1);
  PnlToolbar.SetTabOrder(2);
  ComboColor.SetItemIndex(0);  // Black, until the settings say otherwise

  BindEvents();
  FormCreate();
  CreateHandle();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::BindEvents() {
  OnClose = [this] { FormClose(); };
  SBRun.OnClick = [this] { SBRunClick(); };
  SBCopy.OnClick = [this] { SBCopyClick(); };
  SBOptions.OnClick = [this] { SBOptionsClick(); };
  SBAbout.OnClick = [this] { SBAboutClick(); };
  SBExit.OnClick = [this] { SBExitClick(); };
  UpDownLength.OnClick = [this] { UpDownLengthClick(); };
  ComboType.OnChange = [this] { ComboTypeChange(); };
  ComboCase.OnChange = [this] { ComboCaseChange(); };
  ChkOntop.OnClick = [this] { ChkOntopClick(); };
  ComboColor.OnClick = [this] { ComboColorClick(); };
}

void TFrmMain::SBAboutClick() {
  TFrmAbout about(this);
  about.ShowModal();
}

void TFrmMain::SBExitClick() { Close(); }

void TFrmMain::PlaceToolbar() {
  Rect bounds = PnlToolbar.Bounds();
  bounds.top = kPasswordHeight + (PnlOptions.Visible() ? kOptionsHeight : 0);
  PnlToolbar.SetBounds(bounds);
}

}  // namespace tessavo::single
