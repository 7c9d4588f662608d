// The behaviour suite over the real registry, kept under a key of its own
// below HKEY_CURRENT_USER, plus checks of what the registry itself holds and
// of the real message box and Windows directory.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "common/global.h"
#include "common/platform.h"
#include "common/registry_store.h"
#include "tests/settings_behaviour.h"
#include "toolkit/application.h"

namespace tessavo::test {
namespace {

constexpr const char* kTestsRoot = "Software\\TessavoTests";

std::string TestRoot() {
  return std::string(kTestsRoot) + "\\" + std::to_string(GetCurrentProcessId());
}

// The real registry with every path moved below the test root, so that the
// helpers' usual paths ("Software\\Korvel Software\\...") can be used as
// they are without touching the user's own settings. Starts empty and
// removes its tree when destroyed.
class PrefixedRegistry final : public RegistryStore {
 public:
  PrefixedRegistry() : root_(TestRoot()) { PlatformRegistry().DeleteTree(root_); }
  ~PrefixedRegistry() override {
    PlatformRegistry().DeleteTree(root_);
    // Fails, as it should, while another test run still has a tree there.
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestsRoot);
  }

  std::string Full(std::string_view path) const {
    return path.empty() ? root_ : root_ + "\\" + std::string(path);
  }

  bool OpenKey(std::string_view path, bool create) override {
    return PlatformRegistry().OpenKey(Full(path), create);
  }
  std::optional<RegistryValue> QueryValue(std::string_view path, std::string_view name) override {
    return PlatformRegistry().QueryValue(Full(path), name);
  }
  bool SetValue(std::string_view path, std::string_view name,
                const RegistryValue& value) override {
    return PlatformRegistry().SetValue(Full(path), name, value);
  }
  bool DeleteTree(std::string_view path) override {
    return PlatformRegistry().DeleteTree(Full(path));
  }

 private:
  std::string root_;
};

INSTANTIATE_TEST_SUITE_P(Win32, SettingsBehaviour,
                         ::testing::Values(SettingsBackend{"Registry", [] {
                           return std::make_unique<PrefixedRegistry>();
                         }}),
                         BackendName);

// --- The registry's own view ----------------------------------------------

struct RawValue {
  LONG status = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  DWORD size = 0;
  std::string data;
};

class RealRegistry : public ::testing::Test {
 protected:
  bool KeyExists(std::string_view path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, store_.Full(path).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

  RawValue Raw(std::string_view path, const char* name) {
    RawValue raw;
    HKEY key = nullptr;
    raw.status = RegOpenKeyExA(HKEY_CURRENT_USER, store_.Full(path).c_str(), 0, KEY_READ, &key);
    if (raw.status != ERROR_SUCCESS) return raw;
    raw.status = RegQueryValueExA(key, name, nullptr, &raw.type, nullptr, &raw.size);
    if (raw.status == ERROR_SUCCESS) {
      raw.data.resize(raw.size);
      raw.status = RegQueryValueExA(key, name, nullptr, &raw.type,
                                    reinterpret_cast<BYTE*>(raw.data.data()), &raw.size);
    }
    RegCloseKey(key);
    return raw;
  }

  PrefixedRegistry store_;
  ScopedRegistryOverride active_{store_};
};

constexpr const char* kApp = "Software\\Korvel Software\\TessavoM";

TEST_F(RealRegistry, HelpersWriteSzAndDwordWithTheirSizes) {
  ASSERT_TRUE(RegWriteString(kApp, "Folder", ""));
  RawValue raw = Raw(kApp, "Folder");
  ASSERT_EQ(raw.status, ERROR_SUCCESS);
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw.size, 1u);

  ASSERT_TRUE(RegWriteString(kApp, "Folder", "C:\\Lists"));
  raw = Raw(kApp, "Folder");
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw.size, 9u);
  EXPECT_EQ(raw.data, std::string("C:\\Lists", 9));

  ASSERT_TRUE(RegWriteInteger(kApp, "Folder", -1));
  raw = Raw(kApp, "Folder");
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(raw.size, 4u);
  EXPECT_EQ(raw.data, std::string(4, '\xFF'));
}

TEST_F(RealRegistry, KeyExistsWithoutCreateLeavesNoKeyBehind) {
  EXPECT_FALSE(RegKeyExists(kApp, false));
  EXPECT_FALSE(KeyExists("Software"));
  EXPECT_EQ(RegReadInteger(kApp, "Length", 3), 3);
  EXPECT_TRUE(KeyExists(kApp));
  EXPECT_EQ(Raw(kApp, "Length").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(RealRegistry, PathsWithALeadingBackslashAreRefused) {
  EXPECT_FALSE(PlatformRegistry().OpenKey("\\" + store_.Full(kApp), true));
  EXPECT_FALSE(PlatformRegistry().SetValue("\\" + store_.Full(kApp), "v", {RegSz, "x"}));
  EXPECT_FALSE(KeyExists(kApp));
}

// --- Windows directory ------------------------------------------------------

TEST(Win32Platform, WindowsDirectoryIsTheSystemsWithABackslash) {
  char buffer[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  ASSERT_GT(length, 0u);
  std::string expected(buffer, length);
  if (expected.back() != '\\') expected += '\\';
  EXPECT_EQ(WindowsDirectory(), expected);
  EXPECT_EQ(WindowsDirectory().back(), '\\');
}

// --- The error box ----------------------------------------------------------

struct SeenBox {
  HWND owner = nullptr;
  bool ownerEnabled = true;
  std::string title;
  std::string text;
};

// Waits on another thread for the message box that the calling thread is
// about to show, notes what it looks like and presses OK on it.
class BoxCloser {
 public:
  BoxCloser() : thread_(GetCurrentThreadId()), worker_([this] { Run(); }) {}
  ~BoxCloser() { Join(); }

  void Join() {
    if (worker_.joinable()) worker_.join();
  }
  const SeenBox& Seen() const { return seen_; }
  bool Found() const { return found_; }

 private:
  void Run() {
    HWND box = nullptr;
    for (int i = 0; i < 1000 && box == nullptr; ++i) {
      Sleep(10);
      EnumThreadWindows(
          thread_,
          [](HWND window, LPARAM found) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&box));
    }
    if (box == nullptr) return;
    seen_.owner = GetWindow(box, GW_OWNER);
    seen_.ownerEnabled = seen_.owner != nullptr && IsWindowEnabled(seen_.owner);
    char text[256] = {};
    GetWindowTextA(box, text, sizeof text);
    seen_.title = text;
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message's static control
    seen_.text = text;
    found_ = true;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }

  DWORD thread_;
  SeenBox seen_;
  std::atomic<bool> found_{false};
  std::thread worker_;
};

class ErrorBox : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TessavoErrorBoxTest";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "Main", WS_OVERLAPPEDWINDOW, 0, 0,
                              300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    // Under Wine without a display no window can be made.
    if (window_ == nullptr) GTEST_SKIP() << "no windows can be shown here";
    tk::App().SetTitle("Quillorn");
  }
  void TearDown() override {
    if (window_ != nullptr) DestroyWindow(window_);
    tk::App().Reset();
  }

  HWND window_ = nullptr;
};

TEST_F(ErrorBox, DisablesTheActiveWindowWhileShown) {
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
  ASSERT_EQ(GetActiveWindow(), window_);

  BoxCloser closer;
  EXPECT_EQ(tk::App().ShowErrorBox("The list could not be saved."), IDOK);
  closer.Join();
  ASSERT_TRUE(closer.Found());
  EXPECT_EQ(closer.Seen().owner, window_);
  EXPECT_FALSE(closer.Seen().ownerEnabled);
  EXPECT_EQ(closer.Seen().title, "Quillorn");
  EXPECT_EQ(closer.Seen().text, "The list could not be saved.");
  EXPECT_TRUE(IsWindowEnabled(window_));
  EXPECT_EQ(GetActiveWindow(), window_);
}

TEST_F(ErrorBox, StandsAloneWithoutAnActiveWindow) {
  DestroyWindow(window_);
  window_ = nullptr;
  ASSERT_EQ(GetActiveWindow(), nullptr);

  BoxCloser closer;
  EXPECT_EQ(tk::App().ShowErrorBox("No window."), IDOK);
  closer.Join();
  ASSERT_TRUE(closer.Found());
  EXPECT_EQ(closer.Seen().owner, nullptr);
  EXPECT_EQ(closer.Seen().title, "Quillorn");
}

}  // namespace
}  // namespace tessavo::test
