// The batch generator's main window as a real Win32 window: its native
// controls, user input as window messages, the clipboard, the real save
// dialog and the registry. Runs under Wine in a prefix of its own, whose
// settings of the program it may wipe.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "batch/forms/main.h"
#include "tests/win32/window_test_support.h"
#include "toolkit/application.h"
#include "toolkit/native.h"

namespace tessavo::batch {
namespace {

constexpr const char* kRootKey = "Software\\Korvel Software\\TessavoM";

using namespace testing;

DWORD StoredInteger(const char* key, const char* name) {
  DWORD value = 0xDEADBEEF;
  DWORD size = sizeof value;
  const std::string path = std::string(kRootKey) + "\\" + key;
  RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

std::string StoredString(const char* key, const char* name) {
  char value[MAX_PATH] = {};
  DWORD size = sizeof value;
  const std::string path = std::string(kRootKey) + "\\" + key;
  if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  return value;
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::App().SetTitle("Quillorn");
    RegDeleteTreeA(HKEY_CURRENT_USER, kRootKey);
  }
  void TearDown() override {
    form_.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, kRootKey);
  }

  TFrmMain& Open() {
    form_ = std::make_unique<TFrmMain>();
    form_->Show();
    Pump();
    return *form_;
  }

  void Fill(const std::vector<std::string>& passwords) {
    for (const auto& password : passwords) form_->Store()->Append(password);
    form_->ShowGeneratedPasswords();
    Pump();
  }

  void Click(const tk::Button& button) {
    HWND hwnd = NativeOf(*form_, button, "Button");
    ASSERT_NE(hwnd, nullptr);
    SendMessageA(hwnd, BM_CLICK, 0, 0);
    Pump();
  }

  std::unique_ptr<TFrmMain> form_;
};

TEST_F(MainWindow, OpensAsARealWindowWithItsControls) {
  TFrmMain& form = Open();
  HWND hwnd = FormWindow(form);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(TextOf(hwnd), "Quillorn - Multiple Password Generator");
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right - client.left, 378);
  EXPECT_EQ(client.bottom - client.top, 392);
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX, 0);

  HMENU menu = GetMenu(hwnd);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 3);

  HWND clear = NativeOf(form, form.BtnClear, "Button");
  ASSERT_NE(clear, nullptr);
  EXPECT_EQ(TextOf(clear), "&Clear");
  EXPECT_TRUE(IsWindowVisible(clear));
  EXPECT_FALSE(IsWindowEnabled(clear));

  HWND type = NativeOf(form, form.ComboType, "ComboBox");
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(SendMessageA(type, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(type, CB_GETCURSEL, 0, 0), 0);

  HWND amount = NativeOf(form, form.SpinAmt, "Edit");
  ASSERT_NE(amount, nullptr);
  EXPECT_EQ(TextOf(amount), "10");
  HWND variableMinimum = NativeOf(form, form.SpinLenVarMin, "Edit");
  ASSERT_NE(variableMinimum, nullptr);
  EXPECT_FALSE(IsWindowEnabled(variableMinimum));

  // The window was placed before it was shown: centred on the screen.
  RECT outer;
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(outer.left, form.Left());
  EXPECT_EQ(outer.top, form.Top());
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
}

TEST_F(MainWindow, ArrowKeyStepsALengthField) {
  TFrmMain& form = Open();
  HWND fixed = NativeOf(form, form.SpinLenFix, "Edit");
  ASSERT_NE(fixed, nullptr);
  SetFocus(fixed);
  PostMessageA(fixed, WM_KEYDOWN, VK_UP, 1);
  PostMessageA(fixed, WM_KEYUP, VK_UP, 0xC0000001);
  ASSERT_TRUE(PumpUntil([&] { return form.SpinLenFix.IntValue() == 9; }));
  Pump();
  EXPECT_EQ(TextOf(fixed), "9");
  EXPECT_EQ(form.PnlMaxPW.Caption(), "Max: 5429503678976");  // 26^9
}

TEST_F(MainWindow, ListSelectionAndCommandsThroughMessages) {
  TFrmMain& form = Open();
  Fill({"b2", "B1", "a9", "10"});
  const HWND list = NativeOf(form, form.ListPW, "ListBox");
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowEnabled(list));

  // A click on the second row.
  const LPARAM at = MAKELPARAM(10, form.ListPW.RowHeight() + 4);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  ASSERT_TRUE(PumpUntil([&] { return form.ListPW.ItemIndex() == 1; }));

  Click(form.BtnClipboard);
  EXPECT_EQ(ClipboardText(), "B1");
  // Kept out of clipboard history and cloud clipboard.
  for (const char* format : {"ExcludeClipboardContentFromMonitorProcessing",
                             "CanIncludeInClipboardHistory", "CanUploadToCloudClipboard",
                             "Clipboard Viewer Ignore"}) {
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA(format))) << format;
  }

  Click(form.BtnDelete);
  EXPECT_EQ(form.Store()->Count(), 3);
  EXPECT_EQ(form.ListPW.ItemCount(), 3);
  EXPECT_EQ(form.ListPW.ItemIndex(), 1);

  Click(form.BtnSort);
  ASSERT_EQ(form.Store()->Count(), 3);
  EXPECT_EQ(form.Store()->Get(0), "10");
  EXPECT_EQ(form.Store()->Get(1), "a9");
  EXPECT_EQ(form.Store()->Get(2), "b2");
  EXPECT_FALSE(IsWindowEnabled(NativeOf(form, form.BtnSort, "Button")));
  EXPECT_EQ(form.StatusBar.SimpleText(), "");
}

// Deleting the last row, and the only one, leaves no selection and asks the
// store for no row beyond its new count; only a further Delete, with no
// row selected, shows the list index error.
TEST_F(MainWindow, DeletingTheLastRowLeavesNoSelectionAndShowsNoError) {
  TFrmMain& form = Open();
  const HWND list = NativeOf(form, form.ListPW, "ListBox");
  ASSERT_NE(list, nullptr);
  for (int rows : {10, 1}) {
    SCOPED_TRACE(rows);
    Click(form.BtnClear);
    std::vector<std::string> passwords;
    for (int i = 0; i < rows; ++i) passwords.push_back("pw" + std::to_string(i));
    Fill(passwords);
    const LPARAM at = MAKELPARAM(10, (rows - 1) * form.ListPW.RowHeight() + 4);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(PumpUntil([&] { return form.ListPW.ItemIndex() == rows - 1; }));

    const auto boxes = AnsweringBoxes([&] {
      Click(form.BtnDelete);
      UpdateWindow(list);
    });
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    EXPECT_EQ(form.ListPW.ItemCount(), rows - 1);
    EXPECT_EQ(form.ListPW.ItemIndex(), -1);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(IsWindowEnabled(list) != FALSE, rows > 1);
  }
  Click(form.BtnClear);
  Fill({"a", "b"});
  const auto boxes = AnsweringBoxes([&] { Click(form.BtnDelete); });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("(-1)"), std::string::npos) << boxes[0];
  EXPECT_EQ(form.Store()->Count(), 2);
}

// Answers the save dialog once it is up: types the path into its file
// name field and presses Save.
struct DialogAnswer {
  static inline std::string path;
  static inline bool answered = false;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA("#32770", "Save Passwords");
    if (!dialog) return;
    HWND field = GetDlgItem(dialog, 0x47C);  // the file name combo box
    if (!field) field = GetDlgItem(dialog, 0x480);  // or edit field
    if (!field) return;
    KillTimer(nullptr, id);
    SetWindowTextA(field, path.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    answered = true;
  }
};

TEST_F(MainWindow, SaveWritesThroughTheRealDialogAndRemembersTheFolder) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "tessavom-save-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "\\pw.txt";
  DeleteFileA(path.c_str());

  TFrmMain& form = Open();
  Fill({"abc", "de", "f"});
  DialogAnswer::path = path;
  DialogAnswer::answered = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &DialogAnswer::Tick);
  PostMessageA(FormWindow(form), WM_COMMAND, MAKEWPARAM(form.MnuFileSave.Id(), 0), 0);
  const bool saved = PumpUntil(
      [&] { return DialogAnswer::answered && StoredString("Options", "Save Folder") != ""; });
  KillTimer(nullptr, timer);
  ASSERT_TRUE(saved);

  std::string bytes;
  if (HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
      file != INVALID_HANDLE_VALUE) {
    char buffer[64];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    bytes.assign(buffer, read);
    CloseHandle(file);
  }
  EXPECT_EQ(bytes, "abc\r\nde\r\nf\r\n");
  EXPECT_EQ(StoredString("Options", "Save Folder"), folder + "\\");

  DeleteFileA(path.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(MainWindow, SettingsOutliveTheWindowInTheRegistry) {
  TFrmMain& form = Open();
  HWND hwnd = FormWindow(form);
  form.OptLenVar.UserClick();
  form.ComboType.UserSelect(2);
  form.ChkNoDupes.UserClick();
  form.SpinAmt.UserSetText("1234");
  SetWindowPos(hwnd, nullptr, 21, 43, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(PumpUntil([&] { return form.Left() == 21 && form.Top() == 43; }));

  PostMessageA(hwnd, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return form.Closed(); }));
  EXPECT_EQ(StoredString("Program Info", "Version"), "1.00");
  EXPECT_EQ(StoredInteger("Password Generation Options", "Password Length Type"), 1u);
  EXPECT_EQ(StoredInteger("Password Generation Options", "Password Type"), 2u);
  EXPECT_EQ(StoredInteger("Password Generation Options", "No Duplicates"), 1u);
  EXPECT_EQ(StoredInteger("Password Generation Options", "Passwords To Generate"), 1234u);
  EXPECT_EQ(StoredInteger("Window Settings", "Left"), 21u);
  EXPECT_EQ(StoredInteger("Window Settings", "Top"), 43u);
  EXPECT_EQ(StoredInteger("Window Settings", "Desktop Width"),
            static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN)));

  TFrmMain& again = Open();
  EXPECT_TRUE(again.OptLenVar.Checked());
  EXPECT_EQ(again.ComboType.ItemIndex(), 2);
  EXPECT_FALSE(again.ComboCase.Enabled());
  EXPECT_TRUE(again.ChkNoDupes.Checked());
  EXPECT_EQ(again.SpinAmt.IntValue(), 1234);
  RECT outer;
  GetWindowRect(FormWindow(again), &outer);
  EXPECT_EQ(outer.left, 21);
  EXPECT_EQ(outer.top, 43);
}

}  // namespace
}  // namespace tessavo::batch
