// Forms, menus, the application object and the scriptable headless
// platform: the error guard, modal forms, the message loop, timers.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/clipboard_eraser.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/headless_scripting.h"
#include "toolkit/menu.h"

namespace tessavo::tk {
namespace {

using namespace std::chrono_literals;

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    App().SetTitle("Quillorn");
  }
  void TearDown() override { headless::Reset(); }
};

TEST(ErrorBoxTextTest, AddsAFullStopAfterCharactersAboveIt) {
  EXPECT_EQ(ErrorBoxText("Cannot create file C:\\x\\y.txt"), "Cannot create file C:\\x\\y.txt.");
  EXPECT_EQ(ErrorBoxText("List index out of bounds (-1)"), "List index out of bounds (-1)");
  EXPECT_EQ(ErrorBoxText(""), "");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("a,"), "a,");       // ',' comes before '.'
  EXPECT_EQ(ErrorBoxText("C:/"), "C:/.");     // '/' right after it
  EXPECT_EQ(ErrorBoxText("Count 9"), "Count 9.");
  EXPECT_EQ(ErrorBoxText("caf\xc3\xa9"), "caf\xc3\xa9.");  // bytes above 127 count as above
}

TEST_F(AppTest, AFailingHandlerShowsAnErrorBoxAndTheProgramCarriesOn) {
  Form form({.caption = "Main"});
  Button failing(&form, {.caption = "&Delete"});
  Button unknown(&form, {.caption = "&Sort"});
  Button working(&form, {.caption = "&Clear"});
  failing.OnClick = [] { throw std::out_of_range("List index out of bounds (-1)"); };
  unknown.OnClick = [] { throw 42; };
  int cleared = 0;
  working.OnClick = [&] { ++cleared; };

  failing.UserClick();
  unknown.UserClick();
  working.UserClick();
  App().ShowErrorBox("Capacity exceeded");  // the program's own box, same log
  EXPECT_EQ(cleared, 1);
  const auto& boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "List index out of bounds (-1)");
  EXPECT_EQ(boxes[0].title, "Quillorn");
  EXPECT_EQ(boxes[0].flags, MbIconStop | MbOk);
  EXPECT_EQ(boxes[1].text, "Unknown error.");
  EXPECT_EQ(boxes[2].text, "Capacity exceeded");
  EXPECT_EQ(boxes[2].flags, MbIconStop | MbOk | MbSetForeground);
}

// What a caller drawing many rows stops on: whether the handler ran
// through, each failure shown once.
TEST_F(AppTest, TheGuardAndTheListSayWhetherTheHandlerRanThrough) {
  EXPECT_TRUE(App().Guard([] {}));
  EXPECT_FALSE(App().Guard([] { throw std::runtime_error("Broken"); }));
  Form form({.caption = "Main"});
  VirtualList list(&form, {});
  list.SetItemCount(2);
  list.OnGetItem = [](int index, std::string& text) {
    text = "row";
    if (index == 1) throw std::out_of_range("List index out of bounds (1)");
  };
  std::string text;
  EXPECT_TRUE(list.FetchItemText(0, text));
  EXPECT_EQ(text, "row");
  EXPECT_FALSE(list.FetchItemText(1, text));
  EXPECT_EQ(headless::MessageBoxes().size(), 2u);
}

// Our text leaves the clipboard after its delay, counted from the last
// copy, unless something else was copied meanwhile; zero keeps it.
TEST_F(AppTest, TheClipboardForgetsOnlyWhatWeLeftThere) {
  const auto after = [](std::chrono::seconds wait) {
    headless::AdvanceClock(wait);
    App().ProcessMessages();
    return headless::ClipboardText();
  };
  ClipboardEraser eraser;
  eraser.SetDelay(30s);
  eraser.Copy("first");
  EXPECT_EQ(after(29s), "first");
  eraser.Copy("second");
  EXPECT_EQ(after(29s), "second");
  EXPECT_EQ(after(1s), "");
  EXPECT_FALSE(eraser.Waiting());

  eraser.Copy("ours");
  headless::CopyInAnotherProgram("theirs");
  EXPECT_EQ(after(31s), "theirs");

  eraser.SetDelay(0s);
  eraser.Copy("kept");
  EXPECT_FALSE(eraser.Waiting());
  EXPECT_EQ(after(3600s), "kept");

  // The stored value: a DWORD, so a negative int is a large one.
  const std::pair<int, int> settings[] = {{0, 0}, {45, 45}, {3600, 3600}, {3601, 3600}, {-1, 3600}};
  for (const auto& [stored, seconds] : settings) {
    EXPECT_EQ(ClipboardDelayFromSetting(stored).count(), seconds) << stored;
  }
}

TEST_F(AppTest, AnUnguardedErrorPassesTheGuard) {
  EXPECT_THROW(App().Guard([] { throw UnguardedError("stop"); }), UnguardedError);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(AppTest, MenuItemsClickOnlyWhenReachable) {
  MainMenu menu;
  MenuItem& file = menu.Add({.caption = "&File"});
  MenuItem& generate = file.Add({.caption = "&Generate", .hint = "|Generate passwords"});
  MenuItem& save = file.Add({.caption = "&Save", .hint = "|Save generated passwords",
                             .enabled = false});
  MenuItem& separator = file.Add({.caption = "-"});
  MenuItem& view = menu.Add({.caption = "&View"});
  MenuItem& options = view.Add({.caption = "&Options"});
  EXPECT_EQ(menu.FindById(save.Id()), &save);
  EXPECT_EQ(menu.FindById(options.Id()), &options);
  EXPECT_EQ(menu.FindById(-5), nullptr);
  EXPECT_NE(generate.Id(), options.Id());
  EXPECT_EQ(file.Parent(), nullptr);
  EXPECT_EQ(save.Parent(), &file);
  EXPECT_TRUE(separator.IsSeparator());

  std::vector<std::string> clicked;
  for (MenuItem* item : {&file, &generate, &save, &options}) {
    item->OnClick = [&clicked, item] { clicked.push_back(item->Caption()); };
  }
  file.UserClick();  // has sub-items
  save.UserClick();  // disabled
  view.SetEnabled(false);
  options.UserClick();  // under a disabled menu
  generate.UserClick();
  save.SetEnabled(true);
  save.UserClick();
  EXPECT_EQ(clicked, (std::vector<std::string>{"&Generate", "&Save"}));
}

TEST_F(AppTest, HighlightedMenuItemsSetTheApplicationHint) {
  MainMenu menu;
  MenuItem& file = menu.Add({.caption = "&File"});
  MenuItem& save = file.Add({.caption = "&Save", .hint = "|Save generated passwords",
                             .enabled = false});
  MenuItem& separator = file.Add({.caption = "-"});
  std::vector<std::string> hints;
  const auto subscription = App().OnHint.Subscribe([&] { hints.push_back(App().Hint()); });
  save.UserHighlight();  // disabled items give their hint too
  save.UserHighlight();
  separator.UserHighlight();
  save.UserHighlight();
  MenuItem::UserMenuClosed();
  EXPECT_EQ(hints, (std::vector<std::string>{"Save generated passwords", "",
                                             "Save generated passwords", ""}));
}

TEST_F(AppTest, OuterSizeAddsThePlatformFrame) {
  MainMenu menu;
  Form single({.clientWidth = 378, .clientHeight = 392, .borderStyle = BorderStyle::Single});
  EXPECT_EQ(single.Width(), 386);
  EXPECT_EQ(single.Height(), 427);
  single.SetMenu(&menu);
  EXPECT_EQ(single.Width(), 386);
  EXPECT_EQ(single.Height(), 446);
  Form dialog({.clientWidth = 352, .clientHeight = 113, .borderStyle = BorderStyle::Dialog});
  EXPECT_EQ(dialog.Width(), 360);
  EXPECT_EQ(dialog.Height(), 148);
  Form bare({.clientWidth = 332, .clientHeight = 200, .borderStyle = BorderStyle::None});
  EXPECT_EQ(bare.Width(), 332);
  EXPECT_EQ(bare.Height(), 200);
}

struct Dialog : Form {
  explicit Dialog(Form* owner)
      : Form({.caption = "Options", .borderStyle = BorderStyle::Dialog, .owner = owner}) {
    ok.OnClick = [this] { SetModalResult(ModalResult::Ok); };
  }
  Button ok{this, {.bounds = {10, 10, 75, 25}, .caption = "OK", .isDefault = true}};
};

TEST_F(AppTest, ShowModalRunsQueuedActionsWithTheOtherFormsDisabled) {
  Form main({.caption = "Main"});
  App().SetMainForm(&main);
  Button mainButton(&main, {.caption = "&Clear"});
  int mainClicks = 0;
  mainButton.OnClick = [&] { ++mainClicks; };
  main.Show();
  Dialog dialog(&main);
  Form hidden({.caption = "Progress"});

  bool sawModalState = false;
  headless::QueueUserAction([&] {
    sawModalState = dialog.Modal() && dialog.Visible() && dialog.Active() && !main.Enabled() &&
                    hidden.Enabled();
  });
  headless::QueueUserAction([&] { mainButton.UserClick(); });  // main is disabled
  headless::QueueUserAction([&] { main.UserClose(); });        // and cannot be closed
  headless::QueueUserAction([&] { dialog.ok.UserClick(); });
  headless::QueueUserAction([] {});  // left for later
  EXPECT_EQ(dialog.ShowModal(), ModalResult::Ok);
  EXPECT_TRUE(sawModalState);
  EXPECT_EQ(mainClicks, 0);
  EXPECT_FALSE(dialog.Modal());
  EXPECT_FALSE(dialog.Visible());
  EXPECT_TRUE(main.Enabled());
  EXPECT_TRUE(main.Active());  // back to the owner
  EXPECT_EQ(headless::PendingUserActions(), 1u);
  EXPECT_FALSE(main.Closed());
  App().SetMainForm(nullptr);
}

TEST_F(AppTest, ClosingAModalFormCancelsIt) {
  Form main({.caption = "Main"});
  main.Show();
  Dialog dialog(&main);
  int closes = 0;
  dialog.OnClose = [&] { ++closes; };
  headless::QueueUserAction([&] { dialog.UserClose(); });
  EXPECT_EQ(dialog.ShowModal(), ModalResult::Cancel);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(dialog.Closed());

  // Shown again, it starts afresh.
  headless::QueueUserAction([&] { dialog.ok.UserClick(); });
  EXPECT_EQ(dialog.ShowModal(), ModalResult::Ok);
  EXPECT_EQ(closes, 1);
}

TEST_F(AppTest, AModalLoopWithNothingQueuedStopsTheTest) {
  Form main({.caption = "Main"});
  main.Show();
  Dialog dialog(&main);
  EXPECT_THROW(dialog.ShowModal(), std::logic_error);
  EXPECT_TRUE(main.Enabled());
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.Modal());

  // Also from inside a handler, whose guard would otherwise swallow it.
  Button about(&main, {.caption = "About"});
  about.OnClick = [&] { dialog.ShowModal(); };
  EXPECT_THROW(about.UserClick(), UnguardedError);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(AppTest, RunShowsTheMainFormAndEndsWhenItCloses) {
  Form main({.caption = "Main"});
  std::vector<std::string> events;
  main.OnShow = [&] { events.push_back("show"); };
  main.OnActivate = [&] { events.push_back("activate"); };
  main.OnClose = [&] { events.push_back("close"); };
  headless::QueueUserAction([&] { events.push_back(main.Visible() ? "visible" : "hidden"); });
  headless::QueueUserAction([&] { main.Close(); });
  headless::QueueUserAction([&] { events.push_back("too late"); });
  App().Run(main);
  EXPECT_EQ(App().MainForm(), &main);
  EXPECT_EQ(events, (std::vector<std::string>{"show", "activate", "visible", "close"}));
  EXPECT_TRUE(main.Closed());
  EXPECT_FALSE(main.Visible());
  EXPECT_EQ(headless::PendingUserActions(), 1u);
}

TEST_F(AppTest, RunReturnsWhenTheQueueRunsDry) {
  Form main({.caption = "Main"});
  int ran = 0;
  headless::QueueUserAction([&] { ++ran; });
  App().Run(main);
  EXPECT_EQ(ran, 1);
  EXPECT_TRUE(main.Visible());
  EXPECT_FALSE(main.Closed());
}

TEST_F(AppTest, MinimiseAndRestoreRaiseTheirEventsOnce) {
  int minimized = 0, restored = 0;
  const auto onMinimize = App().OnMinimize.Subscribe([&] { ++minimized; });
  const auto onRestore = App().OnRestore.Subscribe([&] { ++restored; });
  App().Minimize();
  App().Minimize();
  EXPECT_TRUE(App().Minimized());
  EXPECT_EQ(headless::MinimizeCount(), 1);
  App().UserRestored();
  App().UserRestored();
  App().UserMinimized();
  EXPECT_EQ(minimized, 2);
  EXPECT_EQ(restored, 1);
}

TEST_F(AppTest, TimersRunByTheManualClock) {
  int ticks = 0;
  const int id = App().StartTimer(100ms, [&] {
    if (++ticks == 2) throw std::runtime_error("No More Timers Available");
  });
  App().ProcessMessages();
  EXPECT_EQ(ticks, 0);
  headless::AdvanceClock(100ms);
  App().ProcessMessages();
  App().ProcessMessages();
  EXPECT_EQ(ticks, 1);
  headless::FireTimers();  // fails, and keeps running
  EXPECT_EQ(headless::MessageBoxes().size(), 1u);
  headless::AdvanceClock(100ms);
  App().ProcessMessages();
  EXPECT_EQ(ticks, 3);
  App().StopTimer(id);
  EXPECT_EQ(headless::TimerCount(), 0u);
}

TEST_F(AppTest, OtherThreadsRunOnTheMainThreadWhenItProcessesMessages) {
  const auto mainId = std::this_thread::get_id();
  std::thread::id ranOn;
  App().RunOnMainThread([&] { ranOn = std::this_thread::get_id(); });
  EXPECT_EQ(ranOn, mainId);

  ranOn = {};
  bool failedBack = false;
  std::atomic<bool> finished = false;
  std::thread worker([&] {
    App().RunOnMainThread([&] { ranOn = std::this_thread::get_id(); });
    try {
      App().RunOnMainThread([] { throw std::runtime_error("tick failed"); });
    } catch (const std::runtime_error&) {
      failedBack = true;
    }
    finished = true;
  });
  while (!finished) App().WaitAndProcess(10ms);
  worker.join();
  EXPECT_EQ(ranOn, mainId);
  EXPECT_TRUE(failedBack);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(AppTest, ScriptedDevicesRecordAndAnswer) {
  EXPECT_EQ(App().ScreenSize(), (Size{1024, 768}));
  headless::SetScreenSize({800, 600});
  EXPECT_EQ(App().ScreenSize(), (Size{800, 600}));

  SaveDialogOptions options{.title = "Save Passwords", .defaultExt = "txt"};
  EXPECT_EQ(App().SaveDialog(options), std::nullopt);  // nothing queued: cancel
  headless::QueueSaveDialogResult("C:\\x\\y.txt");
  EXPECT_EQ(App().SaveDialog(options), "C:\\x\\y.txt");
  ASSERT_EQ(headless::SaveDialogs().size(), 2u);
  EXPECT_EQ(headless::SaveDialogs()[1].title, "Save Passwords");

  App().SetCursor(Cursor::HourGlass);
  App().SetCursor(Cursor::Default);
  EXPECT_EQ(headless::CursorHistory(), (std::vector<Cursor>{Cursor::HourGlass, Cursor::Default}));
  App().SetClipboardText("secret");
  EXPECT_EQ(headless::ClipboardText(), "secret");
  const auto start = App().Now();
  headless::AdvanceClock(1500ms);
  EXPECT_EQ(App().Now() - start, 1500ms);
  EXPECT_EQ(App().TimeSeparator(), ':');

  headless::Reset();
  EXPECT_EQ(App().ScreenSize(), (Size{1024, 768}));
  EXPECT_TRUE(headless::SaveDialogs().empty());
  EXPECT_TRUE(headless::CursorHistory().empty());
  EXPECT_EQ(headless::ClipboardText(), "");
  EXPECT_EQ(App().Title(), "");
}

}  // namespace
}  // namespace tessavo::tk
