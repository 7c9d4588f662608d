// The batch generator's main window: the generation options with their
// capacity, the list of generated passwords with its commands, and the
// settings that carry both from one start of the program to the next.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batch/capacity.h"
#include "batch/forms/settings.h"
#include "batch/password_store.h"
#include "common/paths.h"
#include "common/secure_random.h"
#include "toolkit/clipboard_eraser.h"
#include "toolkit/controls.h"
#include "toolkit/event.h"
#include "toolkit/form.h"
#include "toolkit/menu.h"

namespace tessavo::batch {

inline constexpr std::string_view SortingBusyText = "Sorting passwords...";
inline constexpr std::string_view GeneratingBusyText = "Generating passwords...";

class TDlgProgress;
class GenerationRun;

// A folder as the save dialog is to start in it: without a trailing
// separator, except where that would change which folder is meant (a drive
// root such as "C:\", or a root "\" itself).
std::string DialogStartFolder(std::string folder);

class TFrmMain : public tk::Form {
 public:
  // Builds the window and its controls, then runs FormCreate: the settings
  // are in the controls before the native window (if any) is made.
  TFrmMain();
  ~TFrmMain() override;

  // --- Controls, in creation order: every container before what it holds.
  tk::MainMenu MainMenu;
  tk::MenuItem& MnuFile;
  tk::MenuItem& MnuFileGenerate;
  tk::MenuItem& MnuFileSave;
  tk::MenuItem& MnuFileSep1;
  tk::MenuItem& MnuFileExit;
  tk::MenuItem& MnuView;
  tk::MenuItem& MnuViewOptions;
  tk::MenuItem& MnuViewSep1;
  tk::MenuItem& MnuViewCenterWindow;
  tk::MenuItem& MnuHelp;
  tk::MenuItem& MnuHelpAbout;

  tk::ToolBar Toolbar;
  tk::ToolBar::ToolButton& SBGenerate;
  tk::ToolBar::ToolButton& SBSave;
  tk::ToolBar::ToolButton& SBSpacer1;
  tk::ToolBar::ToolButton& SBExit;

  tk::Panel PnlOptions;
  tk::Label LblOptions;
  tk::GroupBox GroupPWLength;
  tk::RadioButton OptLenFix;
  tk::SpinEdit SpinLenFix;
  tk::RadioButton OptLenVar;
  tk::SpinEdit SpinLenVarMin;
  tk::Label LblLenVarMin;
  tk::SpinEdit SpinLenVarMax;
  tk::Label LblLenVarMax;
  tk::Label LblType;
  tk::ComboBox ComboType;
  tk::Label LblCase;
  tk::ComboBox ComboCase;
  tk::Bevel BevelOptions;
  tk::Label LblAmount;
  tk::SpinEdit SpinAmt;
  tk::Panel PnlMaxPW;
  tk::CheckBox ChkNoDupes;

  tk::Panel PnlPasswords;
  tk::Label LblPasswords;
  tk::VirtualList ListPW;
  tk::Button BtnClear;
  tk::Button BtnClipboard;
  tk::Button BtnDelete;
  tk::Button BtnSort;

  tk::StatusBar StatusBar;

  // --- Window state besides the controls.
  // How many distinct passwords the current options allow.
  long double Capacity = 0;
  // While not empty the status bar shows this and nothing else.
  std::string StatusBusyText;
  // Set while FormCreate puts the stored settings into the controls.
  bool SettingsLoading = false;
  // The progress window of the runs, made right after this window and
  // living as long as the program; a run needs it.
  TDlgProgress* DlgProgress = nullptr;

  // --- Handlers and routines.
  void FormCreate();
  void FormClose();
  void DisplaySettings();
  void SpinLenFixClick();
  void SpinLenVarMinClick();
  void SpinLenVarMaxClick();
  void SpinAmtKeyPress(char& key);
  // Virtual so that what a run does can be stood in for where no run may
  // happen; everything that starts a run comes through here.
  virtual void MnuFileGenerateClick();
  void MnuFileExitClick();
  void MnuViewOptionsClick();
  void MnuViewCenterWindowClick();
  void MnuHelpAboutClick();

  void WriteDefaults();
  void ShowStatusHint();
  // The program came back from its taskbar button: a run under way shows
  // its progress window again.
  void AppRestore();
  void CouplePasswordLengths();
  void CenterOnScreen();

  void ListPWGetItem(int index, std::string& text);
  void BtnClearClick();
  void BtnDeleteClick();
  void BtnSortClick();
  void BtnClipboardClick();
  void MnuFileSaveClick();

  // The options as the controls show them; the count is left at its
  // default (see AmountToGenerate).
  GenerationOptions OptionsFromControls() const;
  // The amount field's value, first brought within its limits as leaving
  // the field would do: Enter and the Generate commands leave the focus
  // where it is, so the typed text may still be out of range.
  int AmountToGenerate();

  // The store's contents become the list, as at the end of a completed run.
  void ShowGeneratedPasswords();
  // Whether a run is generating or waiting for OK.
  bool RunUnderWay() const { return run_ != nullptr; }
  // The clipboard's copies and their clearing.
  const tk::ClipboardEraser& Clipboard() const { return clipboard_; }
  // The passwords of the last run; nullptr once the window has closed.
  PasswordStore* Store() const { return store_.get(); }

 private:
  void BindEvents();
  // The stored settings bound to the option controls, in the order of the
  // writes at close.
  std::vector<SettingBinding> OptionBindings();
  void EnableListControls(bool enabled);
  void RunCloseQuery();

  // The run under way, from its check to its end (main_run.cpp).
  GenerationRun* run_ = nullptr;

  // The application outlives this window: its hint calls back here only
  // while the window exists.
  tk::Signal::Subscription hintSubscription_;
  tk::Signal::Subscription restoreSubscription_;
  std::unique_ptr<PasswordStore> store_;
  // The secure generator unless the settings ask for the classic one.
  RandomSource randomSource_ = RandomSource::Secure;
  tk::ClipboardEraser clipboard_;
  // The file name chosen at the last save since the program started.
  std::string lastSaveName_;
};

}  // namespace tessavo::batch
