// The single generator's main window over the headless platform: start-up
// in its order with the stored settings, placement, the options band, stay
// on top, generating and copying, the settings code, the status panel and
// the close with its settings.
#include <gtest/gtest.h>

#include "peer_check.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "batch/generation_host.h"
#include "batch/generators.h"
#include "batch/password_store.h"
#include "common/global.h"
#include "common/random.h"
#include "common/registry_store.h"
#include "single/forms/about.h"
#include "single/forms/main.h"
#include "toolkit/application.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::single {
namespace {

// The headless frame of a fixed dialog frame: 4 pixels a side, a 27-pixel
// caption.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 35;
constexpr int kRed = 0x0000FF;

// An in-memory store that notes the name of every value written, in order.
class RecordingRegistry final : public RegistryStore {
 public:
  bool OpenKey(std::string_view path, bool create) override { return inner_->OpenKey(path, create); }
  std::optional<RegistryValue> QueryValue(std::string_view path, std::string_view name) override {
    return inner_->QueryValue(path, name);
  }
  bool SetValue(std::string_view path, std::string_view name, const RegistryValue& value) override {
    const std::string_view key = path.substr(path.rfind('\\') + 1);
    writes.push_back(std::string(key) + "/" + std::string(name));
    return inner_->SetValue(path, name, value);
  }
  bool DeleteTree(std::string_view path) override { return inner_->DeleteTree(path); }

  std::vector<std::string> writes;

 private:
  std::unique_ptr<RegistryStore> inner_ = MakeMemoryRegistry();
};

class SingleMain : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::headless::Reset();
    tk::App().SetTitle("Tessavo");
    tk::headless::SetScreenSize({1024, 768});
  }

  void TearDown() override {
    if (form_) testing::ExpectPeersTold(*form_);
  }

  TFrmMain& Open() {
    form_.reset();
    form_ = std::make_unique<TFrmMain>();
    return *form_;
  }

  // A start that is not the first: the key is there with these values.
  static void StoreWindow(std::string_view name, std::int32_t value) {
    RegWriteInteger(WindowSettingsKey, name, value);
  }
  static void StoreOption(std::string_view name, std::int32_t value) {
    RegWriteInteger(OptionsKey, name, value);
  }
  static std::int32_t Window(std::string_view name) {
    return RegReadInteger(WindowSettingsKey, name, -12345);
  }
  static std::int32_t Option(std::string_view name) {
    return RegReadInteger(OptionsKey, name, -12345);
  }
  // The settings of a window that was last shown with its band.
  static void StoreShownBand() { StoreWindow("Options Visible", 1); }

  RecordingRegistry registry_;
  ScopedRegistryOverride useRegistry_{registry_};
  std::unique_ptr<TFrmMain> form_;
};

tk::Point CentreOf(const tk::Control& control) {
  const tk::Point origin = control.FormOffset();
  return {origin.x + control.Bounds().width / 2, origin.y + control.Bounds().height / 2};
}

// --- Start-up -------------------------------------------------------------

TEST_F(SingleMain, FirstStartWritesTheDefaultsInOrderAndShowsThem) {
  ASSERT_FALSE(RegKeyExists(TessavosKey, false));
  TFrmMain& form = Open();

  EXPECT_EQ(registry_.writes,
            (std::vector<std::string>{
                "Program Info/Version", "Window Settings/Top", "Window Settings/Left",
                "Window Settings/Desktop Height", "Window Settings/Desktop Width",
                "Window Settings/Always On Top", "Window Settings/Options Visible",
                "Options/Password Color", "Options/Password Length", "Options/Password Type",
                "Options/Password Case", "Options/Generate On Startup", "Options/AutoClipboard"}));
  EXPECT_EQ(RegReadString(ProgramInfoKey, "Version", ""), "1.00");
  EXPECT_EQ(Window("Options Visible"), 1);
  EXPECT_EQ(Option("Password Color"), kRed);
  EXPECT_EQ(Option("Password Length"), 4);

  EXPECT_EQ(form.Caption(), "Tessavo - Single Password Generator");
  EXPECT_EQ(form.ClientWidth(), 374);
  EXPECT_EQ(form.ClientHeight(), 173);
  EXPECT_TRUE(form.PnlOptions.Visible());
  EXPECT_EQ(form.PnlToolbar.Bounds().top, 145);
  // Desktop values of 0 never match a screen: centred.
  EXPECT_EQ(form.Left(), (1024 - (374 + kFrameWidth)) / 2);
  EXPECT_EQ(form.Top(), (768 - (173 + kFrameHeight)) / 2);

  EXPECT_EQ(form.UpDownLength.Position(), 4);
  EXPECT_EQ(form.TxtLength.Text(), "4");
  EXPECT_EQ(form.ComboType.ItemIndex(), 0);
  EXPECT_EQ(form.ComboCase.ItemIndex(), 0);
  EXPECT_TRUE(form.ComboCase.Enabled());
  EXPECT_EQ(form.LblPwData.GetFont().color, static_cast<tk::Color>(kRed));
  EXPECT_EQ(form.ComboColor.Colors()[form.ComboColor.ItemIndex()].name, "Red");
  EXPECT_EQ(form.LblPwData.Caption(), "");
  EXPECT_FALSE(form.SBCopy.Enabled());
  EXPECT_FALSE(form.StayOnTop());
  EXPECT_FALSE(form.ChkOntop.Checked() || form.ChkStartupGen.Checked() ||
               form.ChkAutoClip.Checked());
  EXPECT_EQ(form.PnlSettings.Caption(), "04ABLC");
  EXPECT_EQ(form.PnlSettings.Hint(), "4 Chars, Alphabetic, Lowercase|Current password settings");
  EXPECT_EQ(form.PnlStatus.Caption(), "");
  EXPECT_EQ(tk::headless::ClipboardText(), "");
}

TEST_F(SingleMain, MissingOptionsVisibleHidesTheBandAndCentresTheShorterWindow) {
  ASSERT_TRUE(RegKeyExists(TessavosKey, true));
  TFrmMain& form = Open();
  EXPECT_TRUE(registry_.writes.empty()) << "not a first start";

  EXPECT_FALSE(form.PnlOptions.Visible());
  EXPECT_EQ(form.ClientHeight(), 173 - 105);
  EXPECT_EQ(form.PnlToolbar.Bounds().top, 40);
  const int height = 173 - 105 + kFrameHeight;
  EXPECT_EQ(form.Height(), height);
  EXPECT_EQ(form.Top(), (768 - height) / 2);
  // The missing colour falls back to the text's own, red.
  EXPECT_EQ(form.ComboColor.SelectedColor(), static_cast<tk::Color>(kRed));

  // Shown again: 105 taller, the tool bar back below the band, the corner
  // where it was.
  const int left = form.Left(), top = form.Top();
  form.SBOptions.UserClick();
  EXPECT_TRUE(form.PnlOptions.Visible());
  EXPECT_EQ(form.Height(), height + 105);
  EXPECT_EQ(form.PnlToolbar.Bounds().top, 145);
  EXPECT_EQ(form.Left(), left);
  EXPECT_EQ(form.Top(), top);
  form.SBOptions.UserClick();
  EXPECT_EQ(form.Height(), height);
  EXPECT_EQ(form.Top(), top);
}

TEST_F(SingleMain, OnlyExactlyZeroHidesTheBand) {
  for (const int stored : {0, 1, 2, -1}) {
    StoreWindow("Options Visible", stored);
    TFrmMain& form = Open();
    EXPECT_EQ(form.PnlOptions.Visible(), stored != 0) << stored;
    testing::ExpectPeersTold(form);
  }
}

TEST_F(SingleMain, PlacementNeedsTheSameScreenSize) {
  StoreShownBand();
  StoreWindow("Top", 33);
  StoreWindow("Left", 44);
  StoreWindow("Desktop Width", 1024);
  StoreWindow("Desktop Height", 768);
  TFrmMain& same = Open();
  EXPECT_EQ(same.Top(), 33);
  EXPECT_EQ(same.Left(), 44);

  // Width alone differs: centred, the stored place ignored.
  tk::headless::SetScreenSize({1280, 768});
  TFrmMain& other = Open();
  EXPECT_EQ(other.Left(), (1280 - other.Width()) / 2);
  EXPECT_EQ(other.Top(), (768 - other.Height()) / 2);

  // A screen smaller than the window: truncation toward zero.
  tk::headless::SetScreenSize({300, 101});
  TFrmMain& small = Open();
  EXPECT_EQ(small.Left(), (300 - 382) / 2);
  EXPECT_EQ(small.Left(), -41);
  EXPECT_EQ(small.Top(), (101 - 208) / 2);
}

TEST_F(SingleMain, AlwaysOnTopFromStartUpAndOffAtOnce) {
  StoreShownBand();
  StoreWindow("Always On Top", 1);
  TFrmMain& form = Open();
  EXPECT_TRUE(form.ChkOntop.Checked());
  EXPECT_TRUE(form.StayOnTop());

  form.ChkOntop.UserClick();
  EXPECT_FALSE(form.StayOnTop());
  const auto updates = tk::headless::PeerUpdates(form);
  EXPECT_EQ(std::count(updates.begin(), updates.end(), tk::Change::StayOnTop), 1);
  form.ChkOntop.UserClick();
  EXPECT_TRUE(form.StayOnTop());

  // Any stored value but 1 is off.
  StoreWindow("Always On Top", 2);
  EXPECT_FALSE(Open().StayOnTop());
}

TEST_F(SingleMain, GenerateOnStartupWithAutoClipboardShowsAndCopies) {
  StoreShownBand();
  StoreOption("Generate On Startup", 1);
  StoreOption("AutoClipboard", 1);
  StoreOption("Password Length", 12);
  StoreOption("Password Type", 2);
  StoreOption("Clipboard Clear Seconds", 5);
  TFrmMain& form = Open();
  EXPECT_EQ(form.LblPwData.Caption().size(), 12u);
  EXPECT_EQ(tk::headless::ClipboardText(), form.LblPwData.Caption());
  EXPECT_TRUE(form.SBCopy.Enabled());
  EXPECT_EQ(form.LblPwData.Caption().find_first_not_of("0123456789"), std::string::npos);
  // Gone after the stored delay.
  tk::headless::AdvanceClock(std::chrono::seconds(5));
  tk::App().ProcessMessages();
  EXPECT_EQ(tk::headless::ClipboardText(), "");
}

TEST_F(SingleMain, GenerateOnStartupAloneLeavesTheClipboard) {
  StoreShownBand();
  StoreOption("Generate On Startup", 1);
  StoreOption("AutoClipboard", 2);  // not exactly 1
  TFrmMain& form = Open();
  EXPECT_EQ(form.LblPwData.Caption().size(), 4u);
  EXPECT_FALSE(form.ChkAutoClip.Checked());
  EXPECT_EQ(tk::headless::ClipboardText(), "");

  // A second password replaces the first; the copy button copies what
  // the display shows.
  const std::string first = form.LblPwData.Caption();
  form.SBRun.UserClick();
  EXPECT_NE(form.LblPwData.Caption(), first);
  EXPECT_EQ(tk::headless::ClipboardText(), "");
  form.SBCopy.UserClick();
  EXPECT_EQ(tk::headless::ClipboardText(), form.LblPwData.Caption());
  EXPECT_TRUE(form.Clipboard().Waiting());
  EXPECT_EQ(form.Clipboard().Delay(), std::chrono::seconds(30));
}

TEST_F(SingleMain, UnknownStoredColourShowsButTheListsColourIsWritten) {
  StoreShownBand();
  StoreOption("Password Color", 0x123456);
  TFrmMain& form = Open();
  EXPECT_EQ(form.LblPwData.GetFont().color, 0x123456u);
  EXPECT_EQ(form.ComboColor.ItemIndex(), 0) << "the list keeps its selection, Black";
  form.Close();
  EXPECT_EQ(Option("Password Color"), 0x000000);
}

TEST_F(SingleMain, OutOfRangeStoredOptionsAreHeldOrLeftUnselected) {
  StoreShownBand();
  StoreOption("Password Length", 99);
  StoreOption("Password Type", 7);
  StoreOption("Password Case", -3);
  TFrmMain& form = Open();
  EXPECT_EQ(form.UpDownLength.Position(), 16);
  EXPECT_EQ(form.TxtLength.Text(), "16");
  EXPECT_EQ(form.ComboType.ItemIndex(), -1);
  EXPECT_EQ(form.ComboCase.ItemIndex(), -1);
  EXPECT_TRUE(form.ComboCase.Enabled());
  EXPECT_EQ(form.PnlSettings.Caption(), "16");
  EXPECT_EQ(form.PnlSettings.Hint(), "16 Chars, |Current password settings");

  // No type draws letters, no case mixes them.
  form.SBRun.UserClick();
  const std::string password = form.LblPwData.Caption();
  EXPECT_EQ(password.size(), 16u);
  EXPECT_TRUE(std::all_of(password.begin(), password.end(),
                          [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }));

  form.Close();
  EXPECT_EQ(Option("Password Type"), -1);
  EXPECT_EQ(Option("Password Length"), 16);

  StoreOption("Password Length", -7);
  EXPECT_EQ(Open().UpDownLength.Position(), 4);
}

// --- Options and the settings code ------------------------------------------

TEST_F(SingleMain, NumericDisablesTheCaseListWhichKeepsItsEntry) {
  StoreShownBand();
  TFrmMain& form = Open();
  form.ComboCase.UserSelect(1);
  form.ComboType.UserSelect(2);
  EXPECT_FALSE(form.ComboCase.Enabled());
  EXPECT_EQ(form.ComboCase.ItemIndex(), 1);
  EXPECT_EQ(form.PnlSettings.Caption(), "04NMUC");
  EXPECT_EQ(form.PnlSettings.Hint(), "4 Chars, Numeric, Uppercase|Current password settings");
  form.ComboCase.UserSelect(2);  // disabled: nothing
  EXPECT_EQ(form.ComboCase.ItemIndex(), 1);

  form.ComboType.UserSelect(1);
  EXPECT_TRUE(form.ComboCase.Enabled());
  EXPECT_EQ(form.PnlSettings.Caption(), "04ANUC");
}

TEST_F(SingleMain, TheArrowsStepTheLengthAndTheCode) {
  StoreShownBand();
  TFrmMain& form = Open();
  form.UpDownLength.UserClick(-1);
  EXPECT_EQ(form.UpDownLength.Position(), 4);
  for (int i = 0; i < 5; ++i) form.UpDownLength.UserClick(+1);
  EXPECT_EQ(form.TxtLength.Text(), "9");
  EXPECT_EQ(form.PnlSettings.Caption(), "09ABLC");
  form.UpDownLength.UserClick(+1);
  EXPECT_EQ(form.PnlSettings.Caption(), "10ABLC");
  for (int i = 0; i < 10; ++i) form.UpDownLength.UserClick(+1);
  EXPECT_EQ(form.UpDownLength.Position(), 16);
  form.SBRun.UserClick();
  EXPECT_EQ(form.LblPwData.Caption().size(), 16u);
}

TEST_F(SingleMain, ValuesSetFromCodeRunNoHandlerButCheckingDoes) {
  StoreShownBand();
  TFrmMain& form = Open();
  form.UpDownLength.SetPosition(12);
  form.ComboType.SetItemIndex(2);
  form.ComboColor.SetItemIndex(12);
  EXPECT_EQ(form.PnlSettings.Caption(), "04ABLC");
  EXPECT_TRUE(form.ComboCase.Enabled());
  EXPECT_EQ(form.LblPwData.GetFont().color, static_cast<tk::Color>(kRed));
  form.ChkOntop.SetChecked(true);
  EXPECT_TRUE(form.StayOnTop());
}

TEST_F(SingleMain, PickingAColourRecoloursOnlyThePassword) {
  StoreShownBand();
  TFrmMain& form = Open();
  form.ComboColor.UserSelect(12);
  EXPECT_EQ(form.LblPwData.GetFont().color, 0xFF0000u);
  EXPECT_EQ(form.LblPwData.GetFont().name, "Arial");
  EXPECT_EQ(form.LblLength.GetFont().color, tk::ClWindowText);
  form.Close();
  EXPECT_EQ(Option("Password Color"), 0xFF0000);
}

// "Classic Generator" exactly 1 brings back the sequence of RandomSeed, with
// the batch generator's characters from the same seed; any other value, or
// none, leaves RandomSeed alone.
TEST_F(SingleMain, OnlyClassicGeneratorOneDrawsFromRandomSeed) {
  for (std::int32_t classic : {1, 0, 2, -1}) {
    SCOPED_TRACE(classic);
    StoreShownBand();
    StoreOption("Password Length", 10);
    StoreOption("Password Type", 1);
    StoreOption("Password Case", 2);
    StoreOption("Classic Generator", classic);
    TFrmMain& form = Open();
    RandomSeed = 31337;
    form.SBRun.UserClick();
    EXPECT_EQ(form.LblPwData.Caption().size(), 10u);
    if (classic != 1) {
      EXPECT_EQ(RandomSeed, 31337u);
      continue;
    }
    RandomSeed = 31337;
    PasswordStore store;
    HeadlessGenerationHost host;
    GenerateAlphaPasswords(store, 10, 10, 1, 1, 2, true, host, RandomSource::Classic);
    ASSERT_EQ(store.Count(), 1);
    EXPECT_EQ(form.LblPwData.Caption(), store.Get(0));
  }
}

// --- Status panel -----------------------------------------------------------

TEST_F(SingleMain, TheStatusPanelShowsTheLongHintUnderThePointer) {
  StoreShownBand();
  TFrmMain& form = Open();
  tk::headless::MovePointer(form, CentreOf(form.SBRun));
  EXPECT_EQ(form.PnlStatus.Caption(), "Generate password");
  // Disabled, the copy button still tells what it is for.
  ASSERT_FALSE(form.SBCopy.Enabled());
  tk::headless::MovePointer(form, CentreOf(form.SBCopy));
  EXPECT_EQ(form.PnlStatus.Caption(), "Copy password to clipboard");
  tk::headless::MovePointer(form, CentreOf(form.ChkAutoClip));
  EXPECT_EQ(form.PnlStatus.Caption(), "Copy to clipboard on generate");
  tk::headless::MovePointer(form, CentreOf(form.PnlSettings));
  EXPECT_EQ(form.PnlStatus.Caption(), "Current password settings");
  EXPECT_EQ(form.PnlSettings.ShortHint(), "4 Chars, Alphabetic, Lowercase");
  // Over a control without a hint: emptied.
  tk::headless::MovePointer(form, CentreOf(form.ComboType));
  EXPECT_EQ(form.PnlStatus.Caption(), "");
  tk::headless::MovePointer(form, CentreOf(form.SBExit));
  EXPECT_EQ(form.PnlStatus.Caption(), "Exit program");
  tk::headless::MovePointer(form, CentreOf(form.LblPwData));
  EXPECT_EQ(form.PnlStatus.Caption(), "");
}

TEST_F(SingleMain, TheHintHandlerEndsWithTheWindow) {
  Open();
  form_.reset();
  tk::App().SetHint("after the window");  // must not reach a dead window
  SUCCEED();
}

// --- Close ------------------------------------------------------------------

TEST_F(SingleMain, ClosingWritesEverySettingInOrder) {
  StoreShownBand();
  TFrmMain& form = Open();
  form.UpDownLength.UserClick(+1);
  form.ComboType.UserSelect(1);
  form.ComboCase.UserSelect(2);
  form.ComboColor.UserSelect(4);
  form.ChkOntop.UserClick();
  form.ChkStartupGen.UserClick();
  form.ChkAutoClip.UserClick();
  form.SBOptions.UserClick();
  form.SetLeft(12);
  form.SetTop(34);
  registry_.writes.clear();

  form.SBExit.UserClick();
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(registry_.writes,
            (std::vector<std::string>{
                "Window Settings/Top", "Window Settings/Left", "Window Settings/Desktop Height",
                "Window Settings/Desktop Width", "Window Settings/Options Visible",
                "Window Settings/Always On Top", "Options/Password Color",
                "Options/Password Length", "Options/Password Type", "Options/Password Case",
                "Options/Generate On Startup", "Options/AutoClipboard"}));
  EXPECT_EQ(Window("Top"), 34);
  EXPECT_EQ(Window("Left"), 12);
  EXPECT_EQ(Window("Desktop Height"), 768);
  EXPECT_EQ(Window("Desktop Width"), 1024);
  EXPECT_EQ(Window("Options Visible"), 0);
  EXPECT_EQ(Window("Always On Top"), 1);
  EXPECT_EQ(Option("Password Color"), 0x800000);
  EXPECT_EQ(Option("Password Length"), 5);
  EXPECT_EQ(Option("Password Type"), 1);
  EXPECT_EQ(Option("Password Case"), 2);
  EXPECT_EQ(Option("Generate On Startup"), 1);
  EXPECT_EQ(Option("AutoClipboard"), 1);

  // Everything comes back, the password does not.
  TFrmMain& again = Open();
  EXPECT_EQ(again.Top(), 34);
  EXPECT_EQ(again.Left(), 12);
  EXPECT_FALSE(again.PnlOptions.Visible());
  EXPECT_TRUE(again.StayOnTop());
  EXPECT_EQ(again.PnlSettings.Caption(), "05ANMC");
  EXPECT_EQ(again.LblPwData.GetFont().color, 0x800000u);
  EXPECT_EQ(again.ComboColor.Colors()[again.ComboColor.ItemIndex()].name, "Navy");
  EXPECT_EQ(again.LblPwData.Caption().size(), 5u);  // generated on start-up
}

TEST_F(SingleMain, TheCloseBoxSavesToo) {
  StoreShownBand();
  TFrmMain& form = Open();
  form.UpDownLength.SetPosition(7);
  registry_.writes.clear();
  form.UserClose();
  EXPECT_EQ(registry_.writes.size(), 12u);
  EXPECT_EQ(Option("Password Length"), 7);
}

// --- About ------------------------------------------------------------------

TEST_F(SingleMain, AboutShowsTheSharedWindowWithThisProgramsName) {
  StoreShownBand();
  TFrmMain& form = Open();
  form.Show();
  bool seen = false;
  tk::headless::QueueUserAction([&] {
    auto* about = dynamic_cast<TFrmAbout*>(tk::App().ModalForm());
    ASSERT_NE(about, nullptr);
    seen = true;
    EXPECT_EQ(about->Name(), "FrmAbout");
    EXPECT_EQ(about->Owner(), &form);
    EXPECT_EQ(about->Caption(), "About Tessavo");
    EXPECT_EQ(about->RzLabel1.Caption(), "Tessavo 1.02");
    EXPECT_EQ(about->RzLabel1.Bounds().width, 139);
    EXPECT_EQ(about->ImageIcon1.Icon(), "MAINICON");
    EXPECT_FALSE(form.Enabled());
    about->BtnOk.UserClick();
  });
  form.SBAbout.UserClick();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(form.Enabled());
  EXPECT_FALSE(form.Closed());
}

}  // namespace
}  // namespace tessavo::single
