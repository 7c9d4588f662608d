// The toolkit controls the single generator brought: the up-down arrows
// with their field, the colour list and the read-only edit. Their logic is
// portable: these run on both builds, without a window.
#include <gtest/gtest.h>

#include <vector>

#include "toolkit/color_box.h"
#include "toolkit/edit.h"
#include "toolkit/up_down.h"

namespace tessavo::tk {
namespace {

TEST(UpDown, KeepsItsPositionInRangeAndShowsItInTheField) {
  Edit field(nullptr, {.text = "", .readOnly = true});
  UpDown arrows(nullptr, {.associate = &field, .min = 4, .max = 16, .position = 30});
  EXPECT_EQ(arrows.Position(), 16);
  EXPECT_EQ(field.Text(), "16");

  int clicks = 0;
  arrows.OnClick = [&] { ++clicks; };
  arrows.SetPosition(-5);
  EXPECT_EQ(arrows.Position(), 4);
  EXPECT_EQ(field.Text(), "4");
  arrows.SetPosition(11);
  EXPECT_EQ(field.Text(), "11");
  EXPECT_EQ(clicks, 0) << "setting the position from code raises nothing";
}

TEST(UpDown, AClickStepsFirstThenRaisesOnClickAndStopsAtTheEnds) {
  Edit field(nullptr, {.readOnly = true});
  UpDown arrows(nullptr, {.associate = &field, .min = 4, .max = 6, .position = 5});
  std::vector<int> seen;
  arrows.OnClick = [&] { seen.push_back(arrows.Position()); };
  arrows.UserClick(+1);
  arrows.UserClick(+1);  // at the top: no wrap
  arrows.UserClick(-1);
  EXPECT_EQ(seen, (std::vector<int>{6, 6, 5}));
  EXPECT_EQ(field.Text(), "5");

  arrows.SetEnabled(false);
  arrows.UserClick(+1);
  EXPECT_EQ(arrows.Position(), 5);
  EXPECT_EQ(seen.size(), 3u);
}

TEST(UpDown, WrapsRoundOnlyWhenMadeTo) {
  UpDown arrows(nullptr, {.min = 1, .max = 3, .position = 3, .wrap = true});
  arrows.UserClick(+1);
  EXPECT_EQ(arrows.Position(), 1);
  arrows.UserClick(-1);
  EXPECT_EQ(arrows.Position(), 3);
}

std::vector<NamedColor> Colors() {
  return {{"Black", 0x000000}, {"Red", 0x0000FF}, {"Also red", 0x0000FF}, {"White", 0xFFFFFF}};
}

TEST(ColorBox, ReadsBlackWithoutASelection) {
  ColorBox box(nullptr, {.colors = {{"White", 0xFFFFFF}}});
  EXPECT_EQ(box.ItemIndex(), -1);
  EXPECT_EQ(box.SelectedColor(), 0u);
  box.SetItemIndex(0);
  EXPECT_EQ(box.SelectedColor(), 0xFFFFFFu);
  box.SetItemIndex(1);
  EXPECT_EQ(box.ItemIndex(), -1);
  EXPECT_EQ(box.SelectedColor(), 0u);
}

TEST(ColorBox, SelectingByValueTakesTheFirstMatchOrKeepsTheSelection) {
  ColorBox box(nullptr, {.colors = Colors(), .dropDownCount = 4});
  box.SetItemIndex(3);
  box.SelectColor(0x0000FF);
  EXPECT_EQ(box.ItemIndex(), 1);
  box.SelectColor(0x123456);
  EXPECT_EQ(box.ItemIndex(), 1);
  EXPECT_EQ(box.DropDownCount(), 4);
}

TEST(ColorBox, OnlyAUserPickRaisesOnClick) {
  ColorBox box(nullptr, {.colors = Colors()});
  std::vector<unsigned> picked;
  box.OnClick = [&] { picked.push_back(box.SelectedColor()); };
  box.SetItemIndex(1);
  box.SelectColor(0xFFFFFF);
  EXPECT_TRUE(picked.empty());
  box.UserSelect(0);
  box.UserSelect(2);
  EXPECT_EQ(picked, (std::vector<unsigned>{0x000000, 0x0000FF}));
}

TEST(Edit, AReadOnlyFieldKeepsItsTextAgainstTyping) {
  Edit field(nullptr, {.text = "4", .readOnly = true});
  int changes = 0;
  field.OnChange = [&] { ++changes; };
  field.UserSetText("44");
  EXPECT_EQ(field.Text(), "4");
  Edit free(nullptr, {.text = "a"});
  free.OnChange = [&] { ++changes; };
  free.UserSetText("ab");
  EXPECT_EQ(free.Text(), "ab");
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace tessavo::tk
