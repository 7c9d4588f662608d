// The settings table over the in-memory store: which stored integers count
// as on, and that read-only entries are read but never written.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "common/global.h"
#include "common/registry_store.h"
#include "common/settings_table.h"

namespace tessavo::test {
namespace {

constexpr std::string_view kRoot = "Software\\Korvel Software\\Table";
constexpr std::string_view kKey = "Software\\Korvel Software\\Table\\Options";

class SettingsTableTest : public ::testing::Test {
 protected:
  std::unique_ptr<RegistryStore> store_ = MakeMemoryRegistry();
  ScopedRegistryOverride active_{*store_};
};

TEST_F(SettingsTableTest, SwitchRules) {
  constexpr Setting exactlyOne{.key = kKey, .name = "A"};
  constexpr Setting nonZero{.key = kKey, .name = "B", .rule = SwitchRule::NonZero};
  struct Case {
    std::optional<std::int32_t> stored;  // nothing: missing, which reads as 0
    bool exactlyOne, nonZero;
  };
  for (const Case& c : {Case{std::nullopt, false, false}, Case{0, false, false},
                        Case{1, true, true}, Case{2, false, true}, Case{-1, false, true}}) {
    SCOPED_TRACE(c.stored ? std::to_string(*c.stored) : "missing");
    store_->DeleteTree(kRoot);
    if (c.stored) {
      WriteInteger(exactlyOne, *c.stored);
      WriteInteger(nonZero, *c.stored);
    }
    EXPECT_EQ(ReadSwitch(exactlyOne), c.exactlyOne);
    EXPECT_EQ(ReadSwitch(nonZero), c.nonZero);
  }
  WriteSwitch(nonZero, true);
  EXPECT_EQ(RegReadInteger(kKey, "B", 0), 1);
}

TEST_F(SettingsTableTest, ReadOnlyEntriesAreReadButNeverWritten) {
  constexpr Setting count{.key = kKey, .name = "Count", .firstStart = 10, .fallback = 1};
  constexpr Setting folder{.key = kKey, .name = "Folder", .kind = SettingKind::Text};
  constexpr Setting seconds{.key = kKey, .name = "Seconds", .fallback = 30, .readOnly = true};
  const Setting* const entries[] = {&count, &seconds, &folder};
  const SettingsTable table{.root = kRoot, .entries = entries};

  ASSERT_TRUE(IsFirstStart(table));
  WriteFirstStartValues(table);
  EXPECT_FALSE(IsFirstStart(table));
  EXPECT_EQ(RegReadInteger(kKey, "Count", 0), 10);
  EXPECT_EQ(store_->QueryValue(kKey, "Folder")->type, RegSz);
  EXPECT_FALSE(store_->QueryValue(kKey, "Seconds").has_value());

  std::int32_t shown = 0;
  const SettingBinding bindings[] = {
      BindInteger(seconds, [&shown](std::int32_t s) { shown = s; }, [] { return 99; })};
  LoadSettings(bindings);
  EXPECT_EQ(shown, 30);
  SaveSettings(bindings);
  EXPECT_FALSE(store_->QueryValue(kKey, "Seconds").has_value());
  RegWriteInteger(kKey, "Seconds", 5);
  LoadSettings(bindings);
  EXPECT_EQ(shown, 5);
}

}  // namespace
}  // namespace tessavo::test
