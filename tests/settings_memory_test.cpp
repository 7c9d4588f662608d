// The behaviour suite over the in-memory store, plus what only the
// in-memory store and the headless platform can show.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/global.h"
#include "common/platform.h"
#include "common/registry_store.h"
#include "tests/settings_behaviour.h"

#ifndef _WIN32
#include "common/stand_in.h"
#include "toolkit/headless_scripting.h"
#endif

namespace tessavo::test {
namespace {

INSTANTIATE_TEST_SUITE_P(Memory, SettingsBehaviour,
                         ::testing::Values(SettingsBackend{"Memory", [] {
                           return MakeMemoryRegistry();
                         }}),
                         BackendName);

TEST(MemoryRegistry, RefusesALeadingBackslashAndSkipsEmptyNames) {
  const auto store = MakeMemoryRegistry();
  EXPECT_FALSE(store->OpenKey("\\Software", true));
  EXPECT_FALSE(store->SetValue("\\Software", "v", {RegSz, "x"}));
  EXPECT_FALSE(store->QueryValue("\\Software", "v").has_value());
  EXPECT_FALSE(store->OpenKey("Software", false));

  ASSERT_TRUE(store->SetValue("Software\\\\A\\", "v", {RegSz, "x"}));
  const auto value = store->QueryValue("Software\\A", "v");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->data, "x");
  // The empty path is the root itself, which always exists.
  EXPECT_TRUE(store->OpenKey("", false));
}

TEST(MemoryRegistry, DeleteTreeNeverEmptiesTheWholeStore) {
  const auto store = MakeMemoryRegistry();
  ASSERT_TRUE(store->SetValue("Software\\A", "v", {RegDword, "1234"}));
  EXPECT_FALSE(store->DeleteTree(""));
  EXPECT_FALSE(store->DeleteTree("\\"));
  EXPECT_TRUE(store->OpenKey("Software\\A", false));
  EXPECT_FALSE(store->DeleteTree("Software\\Missing\\A"));
  EXPECT_TRUE(store->DeleteTree("SOFTWARE\\a\\"));
  EXPECT_FALSE(store->OpenKey("Software\\A", false));
  EXPECT_TRUE(store->OpenKey("Software", false));
}

TEST(ScopedRegistryOverride, NestsAndRestoresThePreviousStore) {
  EXPECT_EQ(&ActiveRegistry(), &PlatformRegistry());
  const auto outer = MakeMemoryRegistry();
  const auto inner = MakeMemoryRegistry();
  {
    ScopedRegistryOverride useOuter(*outer);
    EXPECT_EQ(&ActiveRegistry(), outer.get());
    {
      ScopedRegistryOverride useInner(*inner);
      EXPECT_EQ(&ActiveRegistry(), inner.get());
      ASSERT_TRUE(RegWriteInteger("Software\\T", "v", 3));
    }
    EXPECT_EQ(&ActiveRegistry(), outer.get());
    EXPECT_FALSE(RegKeyExists("Software\\T", false));
  }
  EXPECT_EQ(&ActiveRegistry(), &PlatformRegistry());
  EXPECT_TRUE(inner->OpenKey("Software\\T", false));
}

// --- Win32-style text getters --------------------------------------------

// Stands in for GetWindowsDirectoryA over a text that may change between
// calls; records the buffer sizes it was offered.
struct FakeGetter {
  explicit FakeGetter(std::vector<std::string> texts) : answers(std::move(texts)) {}
  std::vector<std::string> answers;  // one per call; the last one repeats
  std::vector<std::uint32_t> sizes;
  std::uint32_t operator()(char* buffer, std::uint32_t size) {
    sizes.push_back(size);
    const std::string& text = answers[std::min(sizes.size(), answers.size()) - 1];
    if (text == "<fail>") return 0;
    if (text.size() + 1 > size) return static_cast<std::uint32_t>(text.size() + 1);
    text.copy(buffer, text.size());
    buffer[text.size()] = '\0';
    return static_cast<std::uint32_t>(text.size());
  }
};

TEST(ReadSizedText, RetriesWithTheSizeAskedFor) {
  FakeGetter fits({"C:\\WINDOWS"});
  EXPECT_EQ(platform::ReadSizedText(fits, 255), "C:\\WINDOWS");
  EXPECT_EQ(fits.sizes, (std::vector<std::uint32_t>{255}));

  const std::string longPath = "C:\\" + std::string(300, 'w');
  FakeGetter tooLong({longPath});
  EXPECT_EQ(platform::ReadSizedText(tooLong, 255), longPath);
  EXPECT_EQ(tooLong.sizes, (std::vector<std::uint32_t>{255, 304}));

  // Exactly one character too many for the first buffer.
  const std::string edge(255, 'e');
  FakeGetter atEdge({edge});
  EXPECT_EQ(platform::ReadSizedText(atEdge, 255), edge);
}

TEST(ReadSizedText, FollowsATextThatGrowsAndGivesUpOnOneThatNeverFits) {
  FakeGetter grows({std::string(300, 'a'), std::string(400, 'b'), std::string(400, 'b')});
  EXPECT_EQ(platform::ReadSizedText(grows, 255), std::string(400, 'b'));

  // A getter that keeps asking for the size it was given is not trusted
  // to fill it: never a cut or unterminated text.
  std::uint32_t calls = 0;
  auto stubborn = [&calls](char* buffer, std::uint32_t size) -> std::uint32_t {
    ++calls;
    buffer[0] = 'x';
    return size;
  };
  EXPECT_EQ(platform::ReadSizedText(stubborn, 255), "");
  EXPECT_LE(calls, 4u);

  FakeGetter fails({"<fail>"});
  EXPECT_EQ(platform::ReadSizedText(fails, 255), "");
}

#ifndef _WIN32

// --- Headless platform ---------------------------------------------------

class HeadlessPlatform : public ::testing::Test {
 protected:
  void SetUp() override {
    stand_in::ResetPlatform();
    tk::headless::Reset();
    tk::App().SetTitle("Quillorn");
  }
  void TearDown() override {
    stand_in::ResetPlatform();
    tk::headless::Reset();
  }
};

TEST_F(HeadlessPlatform, ErrorBoxIsRecordedWithTitleAndStopIconFlags) {
  EXPECT_EQ(tk::App().ShowErrorBox("The list could not be saved."), tk::IdOk);
  EXPECT_EQ(tk::App().ShowErrorBox(""), tk::IdOk);
  const auto shown = tk::headless::MessageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "The list could not be saved.");
  EXPECT_EQ(shown[0].title, "Quillorn");
  EXPECT_EQ(shown[0].flags, 0x10010u);
  EXPECT_EQ(shown[0].answer, 1);
  EXPECT_EQ(shown[1].text, "");
  tk::headless::Reset();
  EXPECT_TRUE(tk::headless::MessageBoxes().empty());
}

TEST_F(HeadlessPlatform, MessageBoxesAnswerAsQueuedThenWithTheirDefaultButton) {
  using namespace tk;
  headless::QueueMessageBoxAnswer(IdNo);
  headless::QueueMessageBoxAnswer(IdCancel);
  EXPECT_EQ(App().MessageBox("Replace?", "T", MbYesNo), IdNo);
  EXPECT_EQ(App().MessageBox("Replace?", "T", MbYesNo), IdCancel);
  // Queue used up: Enter presses the default button.
  EXPECT_EQ(App().MessageBox("Replace?", "T", MbYesNo), IdYes);
  EXPECT_EQ(App().MessageBox("Replace?", "T", MbYesNo | 0x100), IdNo);
  EXPECT_EQ(App().MessageBox("Retry?", "T", MbAbortRetryIgnore | 0x200), IdIgnore);
  EXPECT_EQ(App().MessageBox("Go on?", "T", MbCancelTryContinue), IdCancel);
  // A default button past the last one falls back to the first.
  EXPECT_EQ(App().MessageBox("Sure?", "T", MbOkCancel | 0x300), IdOk);
  EXPECT_EQ(headless::MessageBoxes().size(), 7u);
  EXPECT_EQ(headless::MessageBoxes()[1].answer, IdCancel);
}

TEST_F(HeadlessPlatform, WindowsDirectoryEndsInABackslash) {
  EXPECT_EQ(WindowsDirectory(), "");
  stand_in::SetSystemWindowsDirectory("C:\\WINDOWS");
  EXPECT_EQ(WindowsDirectory(), "C:\\WINDOWS\\");
  stand_in::SetSystemWindowsDirectory("C:\\WINDOWS\\");
  EXPECT_EQ(WindowsDirectory(), "C:\\WINDOWS\\");
  stand_in::SetSystemWindowsDirectory("D:\\");
  EXPECT_EQ(WindowsDirectory(), "D:\\");
}

#endif  // _WIN32

}  // namespace
}  // namespace tessavo::test
