// The batch generator's main window over the headless platform: start-up
// and close with their settings, the option rules, placement and the
// status bar.
#include <gtest/gtest.h>

#include "peer_check.h"

#include <memory>
#include <string>
#include <vector>

#include "batch/forms/main.h"
#include "common/global.h"
#include "common/registry_store.h"
#include "toolkit/application.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::batch {
namespace {

// Counts the runs that would start instead of starting them.
class CountingMain : public TFrmMain {
 public:
  void MnuFileGenerateClick() override { ++generateClicks; }
  int generateClicks = 0;
};

class MainForm : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::headless::Reset();
    tk::App().SetTitle("Quillorn");
    tk::headless::SetScreenSize({1024, 768});
  }

  void TearDown() override {
    if (form_) testing::ExpectPeersTold(*form_);
  }

  CountingMain& Open() {
    form_ = std::make_unique<CountingMain>();
    return *form_;
  }
  void CloseAndReopen() {
    form_->Close();
    Open();
  }

  static std::int32_t Stored(std::string_view name) {
    return RegReadInteger(GenerationOptionsKey, name, -12345);
  }
  static void Store(std::string_view name, std::int32_t value) {
    RegWriteInteger(GenerationOptionsKey, name, value);
  }

  static void Step(tk::SpinEdit& field, int steps) {
    const int direction = steps < 0 ? -1 : 1;
    for (int i = 0; i < steps * direction; ++i) field.UserStep(direction, false);
  }

  std::unique_ptr<RegistryStore> registry_ = MakeMemoryRegistry();
  ScopedRegistryOverride useRegistry_{*registry_};
  std::unique_ptr<CountingMain> form_;
};

std::vector<bool> ListControlStates(const TFrmMain& form) {
  return {form.ListPW.Enabled(),    form.BtnClear.Enabled(), form.BtnClipboard.Enabled(),
          form.BtnDelete.Enabled(), form.BtnSort.Enabled(),  form.SBSave.Enabled(),
          form.MnuFileSave.Enabled()};
}

tk::Point CentreOf(const tk::Control& control) {
  const tk::Point origin = control.FormOffset();
  return {origin.x + control.Bounds().width / 2, origin.y + control.Bounds().height / 2};
}

// --- Start-up -------------------------------------------------------------

TEST_F(MainForm, FirstStartWritesTheDefaultsAndShowsThem) {
  ASSERT_FALSE(RegKeyExists(TessavomKey, false));
  TFrmMain& form = Open();

  EXPECT_EQ(RegReadString(ProgramInfoKey, "Version", ""), "1.00");
  EXPECT_EQ(RegReadInteger(WindowSettingsKey, "Desktop Width", -1), 0);
  EXPECT_EQ(RegReadInteger(WindowSettingsKey, "Desktop Height", -1), 0);
  EXPECT_EQ(Stored("Password Length Fixed"), 8);
  EXPECT_EQ(Stored("Passwords To Generate"), 10);
  EXPECT_EQ(RegReadInteger(OptionsKey, "Notify Flash Icon", -1), 0);
  EXPECT_EQ(RegReadInteger(OptionsKey, "Notify Play Sound", -1), 0);
  EXPECT_EQ(RegReadString(OptionsKey, "Save Folder", "unset"), "");

  EXPECT_TRUE(form.OptLenFix.Checked());
  EXPECT_FALSE(form.OptLenVar.Checked());
  EXPECT_EQ(form.SpinLenFix.IntValue(), 8);
  EXPECT_EQ(form.SpinLenVarMin.IntValue(), 5);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 8);
  EXPECT_EQ(form.SpinLenVarMax.MinValue(), 3);
  EXPECT_TRUE(form.SpinLenFix.Enabled());
  EXPECT_FALSE(form.SpinLenVarMin.Enabled());
  EXPECT_FALSE(form.SpinLenVarMax.Enabled());
  EXPECT_EQ(form.ComboType.ItemIndex(), 0);
  EXPECT_EQ(form.ComboCase.ItemIndex(), 0);
  EXPECT_TRUE(form.ComboCase.Enabled());
  EXPECT_FALSE(form.ChkNoDupes.Checked());
  EXPECT_EQ(form.SpinAmt.IntValue(), 10);
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 208827064576");
  EXPECT_EQ(form.Capacity, 208827064576.0L);
  EXPECT_FALSE(form.SettingsLoading);

  EXPECT_EQ(form.ListPW.ItemCount(), 0);
  EXPECT_EQ(ListControlStates(form), std::vector<bool>(7, false));
  EXPECT_TRUE(form.SBGenerate.Enabled());
  ASSERT_NE(form.Store(), nullptr);
  EXPECT_EQ(form.Store()->Count(), 0);

  // Desktop values of 0 never match a screen: the window is centred.
  EXPECT_EQ(form.Width(), 386);
  EXPECT_EQ(form.Height(), 446);
  EXPECT_EQ(form.Left(), 319);
  EXPECT_EQ(form.Top(), 161);
  EXPECT_EQ(form.StatusBar.SimpleText(), "");
}

TEST_F(MainForm, MissingOptionsKeyGivesTheFallbacksAndIsMadeAgain) {
  ASSERT_TRUE(RegKeyExists(TessavomKey, true));
  TFrmMain& form = Open();

  // Not a first start: no defaults were written.
  EXPECT_FALSE(RegKeyExists(ProgramInfoKey, false));
  EXPECT_TRUE(RegKeyExists(GenerationOptionsKey, false));
  EXPECT_TRUE(form.OptLenFix.Checked());
  EXPECT_EQ(form.SpinLenFix.IntValue(), 4);
  EXPECT_EQ(form.SpinLenVarMin.IntValue(), 4);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 4);
  EXPECT_EQ(form.ComboType.ItemIndex(), 0);
  EXPECT_EQ(form.ComboCase.ItemIndex(), 0);
  EXPECT_FALSE(form.ChkNoDupes.Checked());
  EXPECT_EQ(form.SpinAmt.IntValue(), 1);
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 456976");
}

TEST_F(MainForm, StoredValuesAreBroughtWithinTheLimits) {
  ASSERT_TRUE(RegKeyExists(TessavomKey, true));
  Store("Password Length Type", 5);
  Store("Password Length Fixed", 20);
  Store("Password Length Variable Min", 1);
  Store("Password Length Variable Max", 20);
  Store("Passwords To Generate", 0);
  Store("No Duplicates", 2);
  Store("Password Type", 7);
  RegWriteString(GenerationOptionsKey, "Password Case", "2");
  TFrmMain& form = Open();

  EXPECT_TRUE(form.OptLenVar.Checked());
  EXPECT_FALSE(form.SpinLenFix.Enabled());
  EXPECT_TRUE(form.SpinLenVarMin.Enabled());
  EXPECT_EQ(form.SpinLenFix.IntValue(), 16);
  EXPECT_EQ(form.SpinLenVarMin.IntValue(), 3);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 16);
  EXPECT_EQ(form.SpinAmt.IntValue(), 1);
  EXPECT_FALSE(form.ChkNoDupes.Checked());
  EXPECT_EQ(form.ComboType.ItemIndex(), -1);
  EXPECT_EQ(form.ComboCase.ItemIndex(), 0);  // text instead of a number
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 0");
  EXPECT_EQ(form.Capacity, 0.0L);

  form.Close();
  EXPECT_EQ(Stored("Password Type"), -1);
  EXPECT_EQ(Stored("Password Length Type"), 1);
  EXPECT_EQ(Stored("Password Length Fixed"), 16);
  EXPECT_EQ(Stored("Password Length Variable Min"), 3);
  EXPECT_EQ(Stored("No Duplicates"), 0);
  EXPECT_EQ(Stored("Passwords To Generate"), 1);

  Store("Password Length Fixed", 1);
  Store("Passwords To Generate", 2'000'000);
  Open();
  EXPECT_EQ(form_->SpinLenFix.IntValue(), 3);
  EXPECT_EQ(form_->SpinAmt.IntValue(), 1'000'000);
}

TEST_F(MainForm, CloseStoresWhatTheControlsShow) {
  TFrmMain& form = Open();
  form.OptLenVar.UserClick();
  Step(form.SpinLenVarMin, 2);
  Step(form.SpinLenVarMax, 3);
  form.ComboType.UserSelect(1);
  form.ComboCase.UserSelect(2);
  form.ChkNoDupes.UserClick();
  form.SpinAmt.UserSetText("250");
  form.SetLeft(12);
  form.SetTop(34);
  form.MnuFileExit.UserClick();

  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(form.Store(), nullptr);
  EXPECT_EQ(Stored("Password Length Type"), 1);
  EXPECT_EQ(Stored("Password Length Fixed"), 8);
  EXPECT_EQ(Stored("Password Length Variable Min"), 7);
  EXPECT_EQ(Stored("Password Length Variable Max"), 11);
  EXPECT_EQ(Stored("Password Type"), 1);
  EXPECT_EQ(Stored("Password Case"), 2);
  EXPECT_EQ(Stored("No Duplicates"), 1);
  EXPECT_EQ(Stored("Passwords To Generate"), 250);
  EXPECT_EQ(RegReadInteger(WindowSettingsKey, "Left", -1), 12);
  EXPECT_EQ(RegReadInteger(WindowSettingsKey, "Top", -1), 34);
  EXPECT_EQ(RegReadInteger(WindowSettingsKey, "Desktop Width", -1), 1024);
  EXPECT_EQ(RegReadInteger(WindowSettingsKey, "Desktop Height", -1), 768);

  Open();
  EXPECT_TRUE(form_->OptLenVar.Checked());
  EXPECT_EQ(form_->ComboCase.ItemIndex(), 2);
  EXPECT_TRUE(form_->ChkNoDupes.Checked());
  EXPECT_EQ(form_->SpinAmt.IntValue(), 250);
}

TEST_F(MainForm, ExitToolButtonClosesAndStores) {
  TFrmMain& form = Open();
  form.ChkNoDupes.UserClick();
  form.SBExit.UserClick();
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(Stored("No Duplicates"), 1);
}

// --- The amount field ------------------------------------------------------

TEST_F(MainForm, TypedAmountIsBroughtWithinLimitsBeforeItIsRead) {
  TFrmMain& form = Open();
  form.SpinAmt.UserSetText("2500000");
  EXPECT_EQ(form.AmountToGenerate(), 1'000'000);
  EXPECT_EQ(form.SpinAmt.Text(), "1000000");
  form.SpinAmt.UserSetText("0");
  EXPECT_EQ(form.AmountToGenerate(), 1);
  form.SpinAmt.UserSetText("+-");
  EXPECT_EQ(form.AmountToGenerate(), 1);

  // Closing while the field still has the focus and a text out of range.
  form.SpinAmt.UserSetText("-40");
  form.Close();
  EXPECT_EQ(Stored("Passwords To Generate"), 1);
}

TEST_F(MainForm, EnterInTheAmountFieldGeneratesWithoutABeep) {
  CountingMain& form = Open();
  EXPECT_FALSE(form.SpinAmt.UserKeyPress('\r'));
  EXPECT_EQ(form.generateClicks, 1);
  EXPECT_EQ(tk::headless::BeepCount(), 0);

  EXPECT_FALSE(form.SpinAmt.UserKeyPress('a'));
  EXPECT_EQ(tk::headless::BeepCount(), 1);
  EXPECT_TRUE(form.SpinAmt.UserKeyPress('7'));
  EXPECT_EQ(tk::headless::BeepCount(), 1);
  EXPECT_EQ(form.generateClicks, 1);

  // The other ways to start a run reach the same handler.
  form.SBGenerate.UserClick();
  form.MnuFileGenerate.UserClick();
  EXPECT_EQ(form.generateClicks, 3);
}

TEST_F(MainForm, LengthFieldsRefuseEveryKeyWithABeep) {
  TFrmMain& form = Open();
  auto expectRefused = [](tk::SpinEdit& field) {
    const int before = tk::headless::BeepCount();
    EXPECT_FALSE(field.UserKeyPress('5'));
    EXPECT_FALSE(field.UserKeyPress('\b'));
    EXPECT_FALSE(field.UserDeleteKey());
    EXPECT_EQ(tk::headless::BeepCount(), before + 3);
  };
  expectRefused(form.SpinLenFix);
  form.OptLenVar.UserClick();
  expectRefused(form.SpinLenVarMin);
  expectRefused(form.SpinLenVarMax);
  EXPECT_EQ(form.SpinLenFix.IntValue(), 8);
}

// --- Option rules ----------------------------------------------------------

TEST_F(MainForm, RaisingAndLoweringTheMinimumMovesTheMaximumsLimit) {
  TFrmMain& form = Open();
  form.OptLenVar.UserClick();
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 217179671904");  // 26^5 + ... + 26^8

  Step(form.SpinLenVarMin, 5);
  EXPECT_EQ(form.SpinLenVarMin.IntValue(), 10);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 10);
  EXPECT_EQ(form.SpinLenVarMax.MinValue(), 10);
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 141167095653376");

  Step(form.SpinLenVarMin, -4);
  EXPECT_EQ(form.SpinLenVarMin.IntValue(), 6);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 10);
  EXPECT_EQ(form.SpinLenVarMax.MinValue(), 6);
  Step(form.SpinLenVarMax, -10);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 6);
}

TEST_F(MainForm, MinimumAtSixteenHoldsTheMaximumThere) {
  ASSERT_TRUE(RegKeyExists(TessavomKey, true));
  Store("Password Length Type", 1);
  Store("Password Length Variable Min", 15);
  Store("Password Length Variable Max", 15);
  TFrmMain& form = Open();

  form.SpinLenVarMin.UserStep(1, false);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 16);
  EXPECT_EQ(form.SpinLenVarMax.MinValue(), 16);
  form.SpinLenVarMax.UserStep(1, false);
  form.SpinLenVarMax.UserStep(-1, false);
  form.SpinLenVarMax.UserStep(-1, true);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 16);

  form.SpinLenVarMin.UserStep(-1, false);
  form.SpinLenVarMax.UserStep(-1, false);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 15);
}

TEST_F(MainForm, MaximumMayBeSteppedBelowTheMinimumDownToTheOldLimit) {
  TFrmMain& form = Open();  // minimum 5, maximum 8, limit 3
  form.OptLenVar.UserClick();
  Step(form.SpinLenVarMax, -4);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 4);
  EXPECT_EQ(form.SpinLenVarMin.IntValue(), 5);
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 0");
  EXPECT_EQ(form.Capacity, 0.0L);
  Step(form.SpinLenVarMax, -5);
  EXPECT_EQ(form.SpinLenVarMax.IntValue(), 3);
}

TEST_F(MainForm, NumericDisablesTheCaseListAndKeepsItsChoice) {
  TFrmMain& form = Open();
  form.ComboCase.UserSelect(2);
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 53459728531456");  // 52^8
  form.ComboType.UserSelect(2);
  EXPECT_FALSE(form.ComboCase.Enabled());
  EXPECT_EQ(form.ComboCase.ItemIndex(), 2);
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 100000000");
  form.ComboType.UserSelect(1);
  EXPECT_TRUE(form.ComboCase.Enabled());
  EXPECT_EQ(form.ComboCase.ItemIndex(), 2);
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 218340105584896");  // 62^8
}

TEST_F(MainForm, CapacityUsesTheLocalesDecimalSeparator) {
  tk::headless::SetDecimalSeparator(',');
  TFrmMain& form = Open();
  form.ComboType.UserSelect(1);
  form.ComboCase.UserSelect(2);
  Step(form.SpinLenFix, 8);
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 4,76724017068235E28");
  // The amount and the duplicates switch have no say in the capacity.
  form.ChkNoDupes.UserClick();
  form.SpinAmt.UserStep(1, true);
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 4,76724017068235E28");
}

// --- Placement -------------------------------------------------------------

TEST_F(MainForm, PositionIsRestoredOnlyOnTheSameScreenSize) {
  TFrmMain& form = Open();
  form.SetLeft(40);
  form.SetTop(50);
  CloseAndReopen();
  EXPECT_EQ(form_->Left(), 40);
  EXPECT_EQ(form_->Top(), 50);

  form_->SetLeft(60);
  form_->SetTop(70);
  form_->Close();
  tk::headless::SetScreenSize({1024, 600});  // same width, other height
  Open();
  EXPECT_EQ(form_->Left(), 319);
  EXPECT_EQ(form_->Top(), 77);
}

TEST_F(MainForm, CenterWindowCentresButStoresNothingUntilClose) {
  TFrmMain& form = Open();
  form.SetLeft(3);
  form.SetTop(4);
  form.MnuViewCenterWindow.UserClick();
  EXPECT_EQ(form.Left(), 319);
  EXPECT_EQ(form.Top(), 161);
  EXPECT_EQ(RegReadInteger(WindowSettingsKey, "Left", -1), 0);

  // Larger than the screen: halves rounded toward zero, not down.
  tk::headless::SetScreenSize({383, 443});
  form.MnuViewCenterWindow.UserClick();
  EXPECT_EQ(form.Left(), -1);
  EXPECT_EQ(form.Top(), -1);
}

// --- Status bar ------------------------------------------------------------

TEST_F(MainForm, StatusBarShowsHintsUnlessBusy) {
  TFrmMain& form = Open();
  tk::App().SetHint(form.HintAt(CentreOf(form.ComboType)));
  EXPECT_EQ(form.StatusBar.SimpleText(), "Type of passwords to generate");
  tk::App().SetHint(form.HintAt(CentreOf(form.PnlMaxPW)));
  EXPECT_EQ(form.StatusBar.SimpleText(),
            "Number of passwords that can be generated using current settings");
  form.MnuFileSave.UserHighlight();
  EXPECT_EQ(form.StatusBar.SimpleText(), "Save generated passwords");

  form.StatusBusyText = "Generating passwords...";
  tk::App().SetHint(form.HintAt(CentreOf(form.ChkNoDupes)));
  EXPECT_EQ(form.StatusBar.SimpleText(), "Generating passwords...");
  tk::App().SetHint("");
  EXPECT_EQ(form.StatusBar.SimpleText(), "Generating passwords...");

  form.StatusBusyText.clear();
  tk::App().SetHint(form.HintAt(CentreOf(form.BtnSort)));  // disabled, still hinted
  EXPECT_EQ(form.StatusBar.SimpleText(), "Sort password list");
}

// --- Design ----------------------------------------------------------------

TEST_F(MainForm, WindowAndToolBarAreAsDesigned) {
  TFrmMain& form = Open();
  EXPECT_EQ(form.Caption(), "Quillorn - Multiple Password Generator");
  EXPECT_EQ(form.ClientWidth(), 378);
  EXPECT_EQ(form.ClientHeight(), 392);
  EXPECT_EQ(form.GetBorderStyle(), tk::BorderStyle::Single);
  EXPECT_FALSE(form.GetBorderIcons().maximize);
  EXPECT_EQ(form.Menu(), &form.MainMenu);

  const auto& buttons = form.Toolbar.Buttons();
  ASSERT_EQ(buttons.size(), 4u);
  EXPECT_EQ(buttons[0]->Picture(), "SB_GENERATE");
  EXPECT_EQ(buttons[1]->Picture(), "SB_SAVE");
  EXPECT_TRUE(buttons[2]->IsSeparator());
  EXPECT_EQ(buttons[3]->Picture(), "SB_EXIT");
  EXPECT_EQ(form.SBSave.Hint(), "Save|Save generated passwords");

  // Tab order within the passwords panel is not the order on screen.
  EXPECT_LT(form.BtnDelete.TabOrder(), form.BtnSort.TabOrder());
  EXPECT_LT(form.BtnSort.TabOrder(), form.BtnClipboard.TabOrder());
  EXPECT_LT(form.BtnClipboard.Bounds().top, form.BtnDelete.Bounds().top);
}

// Every control lies inside its container, and no two overlap.
void ExpectTidy(const tk::Container& container) {
  const tk::Rect area = container.Bounds();
  const auto& children = container.Children();
  for (std::size_t i = 0; i < children.size(); ++i) {
    const tk::Rect a = children[i]->Bounds();
    const std::string name = "control " + std::to_string(i);
    EXPECT_GE(a.left, 0) << name;
    EXPECT_GE(a.top, 0) << name;
    EXPECT_LE(a.left + a.width, area.width) << name;
    EXPECT_LE(a.top + a.height, area.height) << name;
    for (std::size_t j = i + 1; j < children.size(); ++j) {
      const tk::Rect b = children[j]->Bounds();
      const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                         a.top + a.height <= b.top || b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << "controls " << i << " and " << j << " overlap";
    }
    if (const auto* inner = dynamic_cast<const tk::Container*>(children[i])) ExpectTidy(*inner);
  }
}

TEST_F(MainForm, ControlsStayInsideTheirPanelsWithoutOverlapping) {
  TFrmMain& form = Open();
  ExpectTidy(form);
  EXPECT_EQ(form.PnlOptions.Bounds(), (tk::Rect{0, 33, 378, 148}));
  EXPECT_EQ(form.ListPW.Bounds().width, 273);
  EXPECT_EQ(form.ListPW.Bounds().height, 147);
}

}  // namespace
}  // namespace tessavo::batch
