// The password list: a view of the store that holds no text of its own,
// the commands beside it, and saving the store to a file.
//
// Failures (no row selected, a file that cannot be written) are not caught
// here: they leave the handler and reach the application's error guard,
// which shows them, before anything else has changed.
#include <string>

#include "batch/forms/main.h"
#include "common/directory.h"
#include "toolkit/application.h"

namespace tessavo::batch {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Puts the busy text and the hourglass up for the life of the object, and
// takes them down however the work ends.
class BusyScope {
 public:
  BusyScope(TFrmMain& form, std::string_view text) : form_(form) {
    tk::App().SetCursor(tk::Cursor::HourGlass);
    form_.StatusBusyText = text;
    form_.StatusBar.SetSimpleText(form_.StatusBusyText);
  }
  ~BusyScope() {
    form_.StatusBusyText.clear();
    form_.StatusBar.SetSimpleText("");
    tk::App().SetCursor(tk::Cursor::Default);
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  TFrmMain& form_;
};

}  // namespace

std::string DialogStartFolder(std::string folder) {
  const std::size_t size = folder.size();
  if (size >= 2 && IsSeparator(folder.back()) && folder[size - 2] != ':') folder.pop_back();
  return folder;
}

void TFrmMain::EnableListControls(bool enabled) {
  ListPW.SetEnabled(enabled);
  BtnClear.SetEnabled(enabled);
  BtnClipboard.SetEnabled(enabled);
  BtnDelete.SetEnabled(enabled);
  BtnSort.SetEnabled(enabled);
  SBSave.SetEnabled(enabled);
  MnuFileSave.SetEnabled(enabled);
}

void TFrmMain::ShowGeneratedPasswords() {
  if (!store_) return;
  ListPW.SetItemCount(store_->Count());
  ListPW.Repaint();
  EnableListControls(true);
}

void TFrmMain::ListPWGetItem(int index, std::string& text) {
  // After the close the list may still be painted once; it has nothing.
  text = store_ ? std::string(store_->Get(index)) : std::string();
}

void TFrmMain::BtnClearClick() {
  ListPW.SetItemCount(0);
  if (store_) store_->Clear();
  EnableListControls(false);
}

void TFrmMain::BtnDeleteClick() {
  if (!store_) return;
  store_->Delete(ListPW.ItemIndex());
  // The selection stays on the same row number, which now shows the next
  // password; the count drops below it only when the last row went.
  ListPW.SetItemCount(store_->Count());
  ListPW.Repaint();
  if (store_->Count() == 0) EnableListControls(false);
}

void TFrmMain::BtnSortClick() {
  if (!store_) return;
  {
    BusyScope busy(*this, SortingBusyText);
    // Lets the busy text be painted: the sort itself processes nothing.
    tk::App().ProcessMessages();
    if (!store_) return;  // the window was closed meanwhile
    store_->Sort();
    ListPW.Repaint();
  }
  // Sorted stays sorted through Deletes; only the next run has new order.
  BtnSort.SetEnabled(false);
}

void TFrmMain::BtnClipboardClick() {
  if (!store_) return;
  clipboard_.Copy(store_->Get(ListPW.ItemIndex()));
}

void TFrmMain::MnuFileSaveClick() {
  if (!store_) return;
  std::string folder = ReadText(settings::SaveFolder);
  if (!DirectoryExists(folder)) folder = ReadText(settings::DocumentsFolder);

  tk::SaveDialogOptions dialog;
  dialog.title = "Save Passwords";
  dialog.filter = "Text files (*.txt)|*.txt";
  dialog.defaultExt = "txt";
  dialog.initialDir = DialogStartFolder(folder);
  dialog.fileName = lastSaveName_;
  dialog.overwritePrompt = true;
  dialog.hideReadOnly = true;
  const std::optional<std::string> path = tk::App().SaveDialog(dialog);
  if (!path) return;
  // The name alone: the folder comes from "Save Folder" next time, so a
  // folder that has gone away falls back to the documents folder.
  lastSaveName_ = path->substr(FolderOfPath(*path).size());

  store_->SaveToFile(*path);
  WriteText(settings::SaveFolder, FolderOfPath(*path));
}

}  // namespace tessavo::batch
