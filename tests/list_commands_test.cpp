// The password list and its commands over the headless platform: what each
// command does to the store, to the list and to the enabled states, the
// failures the error guard shows, and saving.
#include <gtest/gtest.h>

#include "peer_check.h"
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
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

namespace fs = std::filesystem;

class ListCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::headless::Reset();
    tk::App().SetTitle("Quillorn");
    form_ = std::make_unique<TFrmMain>();
  }
  void TearDown() override { testing::ExpectPeersTold(*form_); }

  // What a completed run leaves behind.
  void Fill(const std::vector<std::string>& passwords) {
    for (const auto& password : passwords) form_->Store()->Append(password);
    form_->ShowGeneratedPasswords();
  }

  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 0; i < form_->ListPW.ItemCount(); ++i) rows.push_back(form_->ListPW.ItemText(i));
    return rows;
  }

  // ListPW, BtnClear, BtnClipboard, BtnDelete, BtnSort, SBSave, MnuFileSave.
  std::vector<bool> States() const {
    const TFrmMain& f = *form_;
    return {f.ListPW.Enabled(),    f.BtnClear.Enabled(), f.BtnClipboard.Enabled(),
            f.BtnDelete.Enabled(), f.BtnSort.Enabled(),  f.SBSave.Enabled(),
            f.MnuFileSave.Enabled()};
  }
  static std::vector<bool> AllOn() { return std::vector<bool>(7, true); }
  static std::vector<bool> AllOff() { return std::vector<bool>(7, false); }
  static std::vector<bool> AllButSort() {
    return {true, true, true, true, false, true, true};
  }

  std::unique_ptr<RegistryStore> registry_ = MakeMemoryRegistry();
  ScopedRegistryOverride useRegistry_{*registry_};
  std::unique_ptr<TFrmMain> form_;
};

TEST_F(ListCommands, CompletedRunShowsTheStoreAndEnablesTheList) {
  Fill({"alpha", "beta", "gamma"});
  EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
  EXPECT_EQ(form_->ListPW.ItemIndex(), -1);
  EXPECT_EQ(States(), AllOn());
}

TEST_F(ListCommands, ClearEmptiesAndDisablesEverything) {
  Fill({"alpha", "beta"});
  form_->ListPW.UserSelect(1);
  form_->BtnClear.UserClick();
  EXPECT_EQ(form_->Store()->Count(), 0);
  EXPECT_EQ(form_->ListPW.ItemCount(), 0);
  EXPECT_EQ(form_->ListPW.ItemIndex(), -1);
  EXPECT_EQ(States(), AllOff());
  // Save is out of reach until the next run.
  form_->MnuFileSave.UserClick();
  form_->SBSave.UserClick();
  EXPECT_TRUE(tk::headless::SaveDialogs().empty());
}

TEST_F(ListCommands, DeleteKeepsTheRowNumberAndLosesItAtTheEnd) {
  Fill({"a1", "b2", "c3"});
  form_->ListPW.UserSelect(1);
  form_->BtnDelete.UserClick();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"a1", "c3"}));
  EXPECT_EQ(form_->ListPW.ItemIndex(), 1);  // now shows the next password
  EXPECT_EQ(States(), AllOn());

  form_->BtnDelete.UserClick();  // the last row
  EXPECT_EQ(Rows(), (std::vector<std::string>{"a1"}));
  EXPECT_EQ(form_->ListPW.ItemIndex(), -1);
  EXPECT_EQ(States(), AllOn());
  EXPECT_TRUE(tk::headless::MessageBoxes().empty());
}

TEST_F(ListCommands, DeleteAndClipboardWithoutASelectionShowTheIndexError) {
  Fill({"a1", "b2"});
  tk::App().SetClipboardText("before");
  form_->BtnDelete.UserClick();
  form_->BtnClipboard.UserClick();

  const auto& boxes = tk::headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  for (const auto& box : boxes) {
    EXPECT_EQ(box.text, "List index out of bounds (-1)");
    EXPECT_EQ(box.title, "Quillorn");
    EXPECT_EQ(box.flags & 0xFFu, tk::MbIconStop | tk::MbOk);
  }
  EXPECT_EQ(form_->Store()->Count(), 2);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"a1", "b2"}));
  EXPECT_EQ(States(), AllOn());
  EXPECT_EQ(tk::headless::ClipboardText(), "before");
}

TEST_F(ListCommands, DeletingTheOnlyPasswordDisablesAllSeven) {
  Fill({"only"});
  form_->ListPW.UserSelect(0);
  form_->BtnDelete.UserClick();
  EXPECT_EQ(form_->Store()->Count(), 0);
  EXPECT_EQ(form_->ListPW.ItemCount(), 0);
  EXPECT_EQ(States(), AllOff());
}

TEST_F(ListCommands, ClipboardCopiesTheSelectedPasswordAndChangesNothing) {
  Fill({"first", "second"});
  form_->ListPW.UserSelect(1);
  form_->BtnClipboard.UserClick();
  EXPECT_EQ(tk::headless::ClipboardText(), "second");
  EXPECT_TRUE(form_->Clipboard().Waiting());
  EXPECT_EQ(form_->ListPW.ItemIndex(), 1);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(States(), AllOn());
  EXPECT_TRUE(tk::headless::MessageBoxes().empty());
}

TEST_F(ListCommands, SortShowsItsBusyTextAndHourglassWhileItWorks) {
  Fill({"b2", "B1", "a9", "10"});
  form_->ListPW.UserSelect(2);
  std::string statusDuringSort;
  tk::Cursor cursorDuringSort = tk::Cursor::Default;
  // Runs inside the sort's one round of message processing, as a pointer
  // moving over the window would.
  tk::headless::QueueUserAction([&] {
    tk::App().SetHint("Remove all passwords");
    statusDuringSort = form_->StatusBar.SimpleText();
    cursorDuringSort = tk::headless::CurrentCursor();
  });
  form_->BtnSort.UserClick();

  EXPECT_EQ(statusDuringSort, "Sorting passwords...");
  EXPECT_EQ(cursorDuringSort, tk::Cursor::HourGlass);
  EXPECT_EQ(tk::headless::CursorHistory(),
            (std::vector<tk::Cursor>{tk::Cursor::HourGlass, tk::Cursor::Default}));
  EXPECT_EQ(form_->StatusBar.SimpleText(), "");
  EXPECT_EQ(form_->StatusBusyText, "");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"10", "a9", "B1", "b2"}));
  EXPECT_EQ(form_->ListPW.ItemIndex(), 2);
  EXPECT_EQ(States(), AllButSort());
}

TEST_F(ListCommands, SortStaysOffThroughDeletesUntilTheNextRun) {
  Fill({"one"});
  form_->BtnSort.UserClick();  // nothing to order, still a sort
  EXPECT_EQ(tk::headless::CursorHistory().size(), 2u);
  EXPECT_EQ(States(), AllButSort());

  form_->BtnClear.UserClick();
  Fill({"c", "b", "a"});
  EXPECT_EQ(States(), AllOn());
  form_->ListPW.UserSelect(0);
  form_->BtnDelete.UserClick();
  EXPECT_TRUE(form_->BtnSort.Enabled());  // a Delete alone leaves it on

  form_->BtnSort.UserClick();
  form_->ListPW.UserSelect(0);
  form_->BtnDelete.UserClick();
  EXPECT_EQ(States(), AllButSort());
  form_->BtnSort.UserClick();  // disabled: nothing happens
  EXPECT_EQ(tk::headless::CursorHistory().size(), 4u);

  Fill({"d"});
  EXPECT_EQ(States(), AllOn());
}

TEST_F(ListCommands, CommandsAfterCloseFindNoStore) {
  Fill({"x"});
  form_->Close();
  ASSERT_EQ(form_->Store(), nullptr);
  std::string text = "stale";
  form_->ListPWGetItem(0, text);
  EXPECT_EQ(text, "");
  form_->BtnSortClick();
  form_->BtnClipboardClick();
  form_->BtnDeleteClick();
  form_->MnuFileSaveClick();
  form_->BtnClearClick();
  form_->ShowGeneratedPasswords();
  EXPECT_TRUE(tk::headless::MessageBoxes().empty());
  EXPECT_TRUE(tk::headless::SaveDialogs().empty());
}

// --- Saving ----------------------------------------------------------------

TEST(SavePaths, FolderPartAndDialogFolder) {
  EXPECT_EQ(FolderOfPath("C:\\x\\y.txt"), "C:\\x\\");
  EXPECT_EQ(FolderOfPath("C:y.txt"), "C:");
  EXPECT_EQ(FolderOfPath("y.txt"), "");
  EXPECT_EQ(FolderOfPath("/tmp/d/y.txt"), "/tmp/d/");

  EXPECT_EQ(DialogStartFolder("C:\\x\\"), "C:\\x");
  EXPECT_EQ(DialogStartFolder("C:\\"), "C:\\");
  EXPECT_EQ(DialogStartFolder("C:\\x"), "C:\\x");
  EXPECT_EQ(DialogStartFolder("\\"), "\\");
  EXPECT_EQ(DialogStartFolder("/tmp/d/"), "/tmp/d");
  EXPECT_EQ(DialogStartFolder(""), "");
}

class SaveCommand : public ListCommands {
 protected:
  void SetUp() override {
    ListCommands::SetUp();
    root_ = fs::temp_directory_path() /
            ("tessavom-save-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "documents");
    fs::create_directories(root_ / "chosen");
    documents_ = (root_ / "documents").string();
    chosen_ = (root_ / "chosen").string();
    RegWriteString(ShellFoldersKey, "Personal", documents_ + "/");
  }
  void TearDown() override {
    ListCommands::TearDown();
    fs::remove_all(root_);
  }

  static std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static std::string SaveFolder() { return RegReadString(OptionsKey, "Save Folder", "unset"); }

  fs::path root_;
  std::string documents_;
  std::string chosen_;
};

TEST_F(SaveCommand, SavesTheStoreAndRemembersTheFolderAndName) {
  Fill({"abc", "de", "f"});
  const std::string path = chosen_ + "/pw.txt";
  tk::headless::QueueSaveDialogResult(path);
  form_->MnuFileSave.UserClick();

  ASSERT_EQ(tk::headless::SaveDialogs().size(), 1u);
  const tk::SaveDialogOptions& first = tk::headless::SaveDialogs()[0];
  EXPECT_EQ(first.title, "Save Passwords");
  EXPECT_EQ(first.filter, "Text files (*.txt)|*.txt");
  EXPECT_EQ(first.defaultExt, "txt");
  EXPECT_TRUE(first.overwritePrompt);
  EXPECT_TRUE(first.hideReadOnly);
  EXPECT_EQ(first.initialDir, documents_);  // no saved folder yet
  EXPECT_EQ(first.fileName, "");

  EXPECT_EQ(ReadFile(path), "abc\r\nde\r\nf\r\n");
  EXPECT_EQ(SaveFolder(), chosen_ + "/");
  EXPECT_TRUE(tk::headless::MessageBoxes().empty());
  EXPECT_EQ(States(), AllOn());

  // The next save starts where this one went, with the same name, and
  // writes whatever the store holds, shown or not.
  form_->Store()->Append("ghi");
  tk::headless::QueueSaveDialogResult(path);
  form_->SBSave.UserClick();
  ASSERT_EQ(tk::headless::SaveDialogs().size(), 2u);
  EXPECT_EQ(tk::headless::SaveDialogs()[1].initialDir, chosen_);
  EXPECT_EQ(tk::headless::SaveDialogs()[1].fileName, "pw.txt");
  EXPECT_EQ(ReadFile(path), "abc\r\nde\r\nf\r\nghi\r\n");
}

TEST_F(SaveCommand, SavedFolderThatIsGoneOrAFileFallsBackToDocuments) {
  Fill({"abc"});
  RegWriteString(OptionsKey, "Save Folder", chosen_ + "/missing/");
  tk::headless::QueueSaveDialogResult(std::nullopt);
  form_->MnuFileSave.UserClick();

  std::ofstream(root_ / "chosen" / "file.txt") << "x";
  RegWriteString(OptionsKey, "Save Folder", chosen_ + "/file.txt");
  tk::headless::QueueSaveDialogResult(std::nullopt);
  form_->MnuFileSave.UserClick();

  ASSERT_EQ(tk::headless::SaveDialogs().size(), 2u);
  EXPECT_EQ(tk::headless::SaveDialogs()[0].initialDir, documents_);
  EXPECT_EQ(tk::headless::SaveDialogs()[1].initialDir, documents_);
  // Cancelled: nothing written.
  EXPECT_EQ(SaveFolder(), chosen_ + "/file.txt");
  EXPECT_EQ(tk::headless::SaveDialogs()[1].fileName, "");
}

TEST_F(SaveCommand, NoDocumentsFolderStartsTheDialogNowhereInParticular) {
  Fill({"abc"});
  RegWriteString(ShellFoldersKey, "Personal", "");
  tk::headless::QueueSaveDialogResult(std::nullopt);
  form_->MnuFileSave.UserClick();
  ASSERT_EQ(tk::headless::SaveDialogs().size(), 1u);
  EXPECT_EQ(tk::headless::SaveDialogs()[0].initialDir, "");
}

TEST_F(SaveCommand, FailedSaveIsShownAndLeavesTheSavedFolderAlone) {
  Fill({"abc"});
  RegWriteString(OptionsKey, "Save Folder", chosen_ + "/");
  const std::string path = chosen_ + "/no such folder/pw.txt";
  tk::headless::QueueSaveDialogResult(path);
  form_->MnuFileSave.UserClick();

  ASSERT_EQ(tk::headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(tk::headless::MessageBoxes()[0].text, "Cannot create file " + path + ".");
  EXPECT_EQ(tk::headless::MessageBoxes()[0].title, "Quillorn");
  EXPECT_EQ(SaveFolder(), chosen_ + "/");
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(States(), AllOn());
}

}  // namespace
}  // namespace tessavo::batch
