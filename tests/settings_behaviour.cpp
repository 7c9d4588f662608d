#include "tests/settings_behaviour.h"

#include <cstdint>
#include <limits>
#include <string>

#include "common/global.h"

namespace tessavo::test {
namespace {

using namespace std::string_literals;

constexpr const char* kApp = "Software\\Korvel Software\\TessavoM";
constexpr const char* kOptions = "Software\\Korvel Software\\TessavoM\\Options";

std::string Dword(std::uint32_t bits) {
  std::string data(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) data[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return data;
}

// --- Keys ---------------------------------------------------------------

TEST_P(SettingsBehaviour, KeyExistsWithoutCreateFindsNothingAndCreatesNothing) {
  EXPECT_FALSE(RegKeyExists(kApp, false));
  EXPECT_FALSE(RegKeyExists(kApp, false));
  EXPECT_FALSE(Store().OpenKey("Software\\Korvel Software", false));
  EXPECT_FALSE(Store().OpenKey("Software", false));
}

TEST_P(SettingsBehaviour, KeyExistsWithCreateMakesEveryLevel) {
  EXPECT_TRUE(RegKeyExists(kOptions, true));
  EXPECT_TRUE(RegKeyExists("Software", false));
  EXPECT_TRUE(RegKeyExists("Software\\Korvel Software", false));
  EXPECT_TRUE(RegKeyExists(kApp, false));
  EXPECT_TRUE(RegKeyExists(kOptions, false));
  // Creating an existing key is still a success and changes nothing.
  ASSERT_TRUE(RegWriteInteger(kOptions, "Length", 8));
  EXPECT_TRUE(RegKeyExists(kOptions, true));
  EXPECT_EQ(RegReadInteger(kOptions, "Length", 0), 8);
}

TEST_P(SettingsBehaviour, ReadsCreateTheMissingKey) {
  EXPECT_EQ(RegReadInteger(kOptions, "Length", 42), 42);
  EXPECT_TRUE(Store().OpenKey(kOptions, false));
  EXPECT_EQ(RegReadString(kApp, "Folder", "C:\\Lists"), "");
  EXPECT_TRUE(Store().OpenKey(kApp, false));
  // Creating the key made no value.
  EXPECT_FALSE(Store().QueryValue(kOptions, "Length").has_value());
}

TEST_P(SettingsBehaviour, KeyAndValueNamesIgnoreCase) {
  ASSERT_TRUE(RegWriteString("SOFTWARE\\korvel SOFTWARE\\TessavoM", "FOLDER", "C:\\Lists"));
  EXPECT_TRUE(RegKeyExists("software\\KORVEL software\\tessavom", false));
  EXPECT_EQ(RegReadString(kApp, "Folder", "x"), "C:\\Lists");
  // Writing under another spelling replaces the value, not adds a second.
  ASSERT_TRUE(RegWriteString(kApp, "folder", "D:\\"));
  EXPECT_EQ(RegReadString("software\\korvel software\\tessavom", "FoLdEr", "x"), "D:\\");
}

// --- Integers ------------------------------------------------------------

TEST_P(SettingsBehaviour, IntegersRoundTripAsLittleEndianDwords) {
  for (const std::int32_t value : {0, 1, -1, 255, 256, 0x12345678,
                                   std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()}) {
    ASSERT_TRUE(RegWriteInteger(kOptions, "Length", value));
    EXPECT_EQ(RegReadInteger(kOptions, "Length", 7), value);
    const auto raw = Store().QueryValue(kOptions, "Length");
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->type, RegDword);
    EXPECT_EQ(raw->data, Dword(static_cast<std::uint32_t>(value)));
  }
}

TEST_P(SettingsBehaviour, DwordWithAllBitsSetReadsAsMinusOne) {
  ASSERT_TRUE(Store().SetValue(kOptions, "Count", {RegDword, "\xFF\xFF\xFF\xFF"s}));
  EXPECT_EQ(RegReadInteger(kOptions, "Count", 5), -1);
  ASSERT_TRUE(Store().SetValue(kOptions, "Count", {RegDword, "\x00\x00\x00\x80"s}));
  EXPECT_EQ(RegReadInteger(kOptions, "Count", 5), std::numeric_limits<std::int32_t>::min());
}

TEST_P(SettingsBehaviour, IntegerOfAnythingButAWholeDwordGivesTheDefault) {
  const RegistryValue others[] = {
      {RegSz, "5\0"s},               // text, short enough for the 4-byte buffer
      {RegSz, "12345678\0"s},        // text, longer than it
      {RegExpandSz, "9\0"s},
      {RegBinary, Dword(3)},         // four bytes, but not a DWORD
      {RegNone, Dword(3)},
      {RegDword, "\x01\x02"s},       // a DWORD cut short
      {RegDword, ""s},
      {RegDword, Dword(3) + Dword(4)},  // too long for the buffer
  };
  for (const RegistryValue& other : others) {
    SCOPED_TRACE(testing::Message() << "type " << other.type << ", " << other.data.size()
                                    << " bytes");
    ASSERT_TRUE(Store().SetValue(kOptions, "Count", other));
    EXPECT_EQ(RegReadInteger(kOptions, "Count", -77), -77);
  }
}

// --- Text ----------------------------------------------------------------

TEST_P(SettingsBehaviour, MissingOrEmptyTextIsEmptyNotTheDefault) {
  EXPECT_EQ(RegReadString(kApp, "Folder", "C:\\Lists"), "");
  // Zero-length data reads as empty whatever its type.
  for (const std::uint32_t type : {RegSz, RegDword, RegBinary}) {
    ASSERT_TRUE(Store().SetValue(kApp, "Folder", {type, ""}));
    EXPECT_EQ(RegReadString(kApp, "Folder", "C:\\Lists"), "") << "type " << type;
  }
  // A single zero byte is the empty text too.
  ASSERT_TRUE(Store().SetValue(kApp, "Folder", {RegSz, "\0"s}));
  EXPECT_EQ(RegReadString(kApp, "Folder", "C:\\Lists"), "");
}

TEST_P(SettingsBehaviour, TextOfAnotherTypeGivesTheDefault) {
  ASSERT_TRUE(RegWriteInteger(kApp, "Folder", 12));
  EXPECT_EQ(RegReadString(kApp, "Folder", "C:\\Lists"), "C:\\Lists");
  ASSERT_TRUE(Store().SetValue(kApp, "Folder", {RegBinary, "abc"}));
  EXPECT_EQ(RegReadString(kApp, "Folder", "C:\\Lists"), "C:\\Lists");
}

TEST_P(SettingsBehaviour, TextEndsAtTheFirstZeroOrAtTheEndOfTheData) {
  ASSERT_TRUE(Store().SetValue(kApp, "Folder", {RegSz, "ab\0cd\0"s}));
  EXPECT_EQ(RegReadString(kApp, "Folder", "x"), "ab");
  ASSERT_TRUE(Store().SetValue(kApp, "Folder", {RegSz, "abc"s}));
  EXPECT_EQ(RegReadString(kApp, "Folder", "x"), "abc");
  ASSERT_TRUE(Store().SetValue(kApp, "Folder", {RegSz, "a"s}));
  EXPECT_EQ(RegReadString(kApp, "Folder", "x"), "a");
}

TEST_P(SettingsBehaviour, ExpandableTextIsReturnedUnexpanded) {
  ASSERT_TRUE(Store().SetValue(kApp, "Folder", {RegExpandSz, "%SystemRoot%\\Lists\0"s}));
  EXPECT_EQ(RegReadString(kApp, "Folder", "x"), "%SystemRoot%\\Lists");
}

TEST_P(SettingsBehaviour, WrittenTextIsSzWithOneZeroByte) {
  ASSERT_TRUE(RegWriteString(kApp, "Folder", ""));
  auto raw = Store().QueryValue(kApp, "Folder");
  ASSERT_TRUE(raw.has_value());
  EXPECT_EQ(raw->type, RegSz);
  EXPECT_EQ(raw->data, "\0"s);
  EXPECT_EQ(RegReadString(kApp, "Folder", "x"), "");

  ASSERT_TRUE(RegWriteString(kApp, "Folder", "C:\\Lists"));
  raw = Store().QueryValue(kApp, "Folder");
  ASSERT_TRUE(raw.has_value());
  EXPECT_EQ(raw->type, RegSz);
  EXPECT_EQ(raw->data, "C:\\Lists\0"s);
  EXPECT_EQ(RegReadString(kApp, "Folder", "x"), "C:\\Lists");
}

TEST_P(SettingsBehaviour, LongTextRoundTrips) {
  std::string text;
  for (int i = 0; text.size() < 20000; ++i) text += std::to_string(i) + ',';
  ASSERT_TRUE(RegWriteString(kApp, "Recent", text));
  EXPECT_EQ(RegReadString(kApp, "Recent", "x"), text);
}

// --- Replacing values ----------------------------------------------------

TEST_P(SettingsBehaviour, WritingReplacesAValueOfAnotherType) {
  ASSERT_TRUE(RegWriteString(kOptions, "Length", "twelve"));
  ASSERT_TRUE(RegWriteInteger(kOptions, "Length", 12));
  auto raw = Store().QueryValue(kOptions, "Length");
  ASSERT_TRUE(raw.has_value());
  EXPECT_EQ(raw->type, RegDword);
  EXPECT_EQ(raw->data, Dword(12));
  EXPECT_EQ(RegReadInteger(kOptions, "Length", 0), 12);
  EXPECT_EQ(RegReadString(kOptions, "Length", "dflt"), "dflt");

  ASSERT_TRUE(RegWriteString(kOptions, "Length", "twelve"));
  raw = Store().QueryValue(kOptions, "Length");
  ASSERT_TRUE(raw.has_value());
  EXPECT_EQ(raw->type, RegSz);
  EXPECT_EQ(RegReadInteger(kOptions, "Length", 0), 0);
  EXPECT_EQ(RegReadString(kOptions, "Length", "dflt"), "twelve");
}

TEST_P(SettingsBehaviour, ValuesBelongToTheirOwnKey) {
  ASSERT_TRUE(RegWriteInteger(kApp, "Length", 1));
  ASSERT_TRUE(RegWriteInteger(kOptions, "Length", 2));
  ASSERT_TRUE(RegWriteString(kApp, "", "default value"));
  EXPECT_EQ(RegReadInteger(kApp, "Length", 0), 1);
  EXPECT_EQ(RegReadInteger(kOptions, "Length", 0), 2);
  EXPECT_EQ(RegReadString(kApp, "", "x"), "default value");
  EXPECT_EQ(RegReadString(kOptions, "", "x"), "");
}

TEST_P(SettingsBehaviour, DeleteTreeRemovesTheKeyAndEverythingBelow) {
  ASSERT_TRUE(RegWriteInteger(kOptions, "Length", 8));
  ASSERT_TRUE(RegWriteInteger("Software\\Korvel Software\\Other", "Length", 9));
  EXPECT_TRUE(Store().DeleteTree(kApp));
  EXPECT_FALSE(RegKeyExists(kOptions, false));
  EXPECT_FALSE(RegKeyExists(kApp, false));
  EXPECT_EQ(RegReadInteger("Software\\Korvel Software\\Other", "Length", 0), 9);
  EXPECT_FALSE(Store().DeleteTree(kApp));
}

}  // namespace
}  // namespace tessavo::test
