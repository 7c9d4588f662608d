// The toolkit's seams over the headless platform: peers that notice an
// unreported change, the one road every close takes, window state in the
// form, modal scopes, pointer input for window-less controls, and calls
// from other threads that can be given up.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stop_token>
#include <string>
#include <thread>

#include "peer_check.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::tk {
namespace {

using namespace std::chrono_literals;

// A control of a kind the toolkit does not know, with one setter that
// forgets to tell its peer.
class Gauge : public Control {
 public:
  explicit Gauge(Container* parent) : Control(parent, ControlKind::Picture, {8, 8, 40, 40}) {}
  void SetLevel(int level) {
    level_ = level;
    Changed(Change::Value);
  }
  void SetLevelForgetfully(int level) { level_ = level; }
  std::string StateText() const override { return "level=" + std::to_string(level_); }

  void UserMouseEnter() override { ++enters; }
  void UserMouseLeave() override { ++leaves; }
  void UserMouseClick() override { ++clicks; }
  int enters = 0, leaves = 0, clicks = 0;

 private:
  int level_ = 0;
};

class SeamsTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  void TearDown() override { headless::Reset(); }
};

TEST_F(SeamsTest, APeerNoticesAChangeItWasNotToldOf) {
  Form form({.caption = "Gauges"});
  Gauge gauge(&form);
  Label label(&form, {.bounds = {60, 8, 80, 13}, .caption = "Level"});
  form.Show();
  gauge.SetLevel(3);
  label.SetCaption("Level 3");
  form.SetStayOnTop(true);
  EXPECT_TRUE(headless::UnreportedChanges(form).empty());
  EXPECT_EQ(headless::PeerUpdates(gauge), (std::vector<Change>{Change::Value}));

  gauge.SetLevelForgetfully(4);
  const auto problems = headless::UnreportedChanges(form);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("level=3"), std::string::npos) << problems[0];
  EXPECT_NE(problems[0].find("level=4"), std::string::npos) << problems[0];

  // A control made after the form's window has none at all.
  Label late(&form, {.bounds = {60, 30, 80, 13}, .caption = "Late"});
  EXPECT_EQ(headless::UnreportedChanges(form).size(), 2u);
}

// A control made outside the toolkit can bring a peer of its own.
TEST_F(SeamsTest, AControlTheToolkitDoesNotKnowHasAPeerOfItsOwn) {
  struct Log final : ControlPeer {
    void Update(Change what) override { changes.push_back(what); }
    std::vector<Change> changes;
  };
  struct Dial final : Gauge {
    using Gauge::Gauge;
    std::unique_ptr<ControlPeer> CreatePeer(PeerFactory&) override { return std::make_unique<Log>(); }
  };
  Form form({.caption = "Dials"});
  Dial dial(&form);
  form.Show();
  dial.SetLevel(2);
  auto* log = dynamic_cast<Log*>(dial.Peer());
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->changes, (std::vector<Change>{Change::Value}));
}

// Every close request, whatever its source, asks the form first.
TEST_F(SeamsTest, EveryCloseAsksTheFormFirst) {
  const auto sources = {
      +[](Form& form) { form.UserClose(); },          // close box, Alt+F4, system menu
      +[](Form& form) { form.Close(); },              // from code (Exit)
      +[](Form&) { App().UserCloseRequested(); },     // the taskbar button
      +[](Form&) { App().UserEndSession(); },         // the end of the session
  };
  int source = 0;
  for (auto close : sources) {
    SCOPED_TRACE(source++);
    Form main({.caption = "Main"});
    App().SetMainForm(&main);
    main.Show();
    bool allow = false;
    int queries = 0, closes = 0;
    main.OnCloseQuery = [&](bool& canClose) {
      ++queries;
      canClose = allow;
    };
    main.OnClose = [&] { ++closes; };
    close(main);
    EXPECT_EQ(queries, 1);
    EXPECT_FALSE(main.Closed());
    allow = true;
    close(main);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(main.Closed());
    App().SetMainForm(nullptr);
  }
}

TEST_F(SeamsTest, ACloseDuringAHandlerWaitsForItToReturn) {
  Form main({.caption = "Main"});
  App().SetMainForm(&main);
  Button run(&main, {.caption = "&Generate"});
  main.Show();
  bool closedMidRun = true;
  main.OnClose = [&] { closedMidRun = false; };
  run.OnClick = [&] {
    headless::QueueUserAction([] { App().UserCloseRequested(); });
    App().ProcessMessages();  // the close arrives here
    EXPECT_TRUE(main.ClosePending());
    EXPECT_FALSE(main.Closed());
    closedMidRun = true;  // still ours: OnClose has not run
  };
  run.UserClick();
  EXPECT_TRUE(main.Closed());
  EXPECT_FALSE(closedMidRun);
}

TEST_F(SeamsTest, TheTaskbarCannotCloseBehindAModalFormButTheSessionEndCan) {
  Form main({.caption = "Main"});
  App().SetMainForm(&main);
  Button options(&main, {.caption = "&Options"});
  main.Show();
  Form dialog({.caption = "Options", .borderStyle = BorderStyle::Dialog, .owner = &main});
  ModalResult result = ModalResult::None;
  options.OnClick = [&] {
    headless::QueueUserAction([] { App().UserCloseRequested(); });
    headless::QueueUserAction([&] { EXPECT_TRUE(dialog.Active()); });
    headless::QueueUserAction([] { App().UserEndSession(); });
    result = dialog.ShowModal();
    EXPECT_FALSE(main.Closed());  // not under the handler that showed it
  };
  options.UserClick();
  EXPECT_EQ(result, ModalResult::Cancel);
  EXPECT_TRUE(main.Closed());
}

TEST_F(SeamsTest, TheFormKnowsWhetherItIsShownMinimisedOrHidden) {
  Form main({.caption = "Main"});
  App().SetMainForm(&main);
  Form progress({.caption = "Progress", .owner = &main});
  EXPECT_EQ(progress.GetWindowState(), WindowState::Hidden);
  main.Show();
  progress.Show();
  EXPECT_EQ(progress.GetWindowState(), WindowState::Normal);

  progress.Minimize();  // not the main form: it goes alone
  EXPECT_EQ(progress.GetWindowState(), WindowState::Minimized);
  EXPECT_EQ(main.GetWindowState(), WindowState::Normal);
  progress.UserRestored();
  EXPECT_EQ(progress.GetWindowState(), WindowState::Normal);

  main.Minimize();  // the main form takes the whole program
  EXPECT_EQ(progress.GetWindowState(), WindowState::Minimized);
  App().UserRestored();
  EXPECT_EQ(progress.GetWindowState(), WindowState::Normal);
  progress.Hide();
  EXPECT_EQ(progress.GetWindowState(), WindowState::Hidden);
}

TEST_F(SeamsTest, AModalScopeDisablesTheOthersAndGivesTheActivationBack) {
  Form main({.caption = "Main"});
  Form other({.caption = "Other"});
  Form progress({.caption = "Progress", .owner = &main});
  App().SetMainForm(&main);
  main.Show();
  other.Show();
  ASSERT_TRUE(other.Active());
  {
    ModalScope scope(&progress);
    progress.Show();
    EXPECT_FALSE(main.Enabled());
    EXPECT_FALSE(other.Enabled());
    EXPECT_TRUE(progress.Enabled());
    EXPECT_TRUE(progress.Active());
    progress.Hide();  // the window manager hands the activation to its owner
  }
  EXPECT_TRUE(main.Enabled());
  EXPECT_TRUE(other.Enabled());
  EXPECT_TRUE(other.Active());
}

TEST_F(SeamsTest, AWindowlessControlHearsThePointerAndNamesItsCursor) {
  Form form({.caption = "About"});
  Panel back(&form, {.bounds = {0, 0, 300, 200}});
  Gauge link(&back);
  link.SetCursor(Cursor::HandPoint);
  form.Show();
  const Point over{20, 20}, beside{150, 150};

  EXPECT_EQ(form.CursorAt(over), Cursor::HandPoint);
  EXPECT_EQ(form.CursorAt(beside), Cursor::Default);
  headless::MovePointer(form, over);
  headless::MovePointer(form, Point{21, 22});  // still over it
  EXPECT_EQ(link.enters, 1);
  EXPECT_EQ(form.ControlUnderPointer(), &link);
  EXPECT_EQ(form.PointerPosition()->x, 21);
  form.UserClickAt(over);
  form.UserClickAt(beside);
  EXPECT_EQ(link.clicks, 1);
  headless::MovePointer(form, std::nullopt);
  EXPECT_EQ(link.leaves, 1);
  EXPECT_FALSE(form.PointerPosition());

  back.SetEnabled(false);  // a disabled container takes no clicks
  form.UserClickAt(over);
  EXPECT_EQ(link.clicks, 1);
  testing::ExpectPeersTold(form);
}

TEST_F(SeamsTest, ACallFromAnotherThreadCanBeGivenUp) {
  std::atomic<int> ran = 0;
  std::atomic<bool> answered = false, result = true;
  std::jthread worker([&](std::stop_token stop) {
    result = App().RunOnMainThread([&] { ++ran; }, stop);
    answered = true;
  });
  while (!App().Calls().Pending()) std::this_thread::sleep_for(1ms);
  // The main thread stops the worker without serving it: no deadlock.
  worker.request_stop();
  worker.join();
  EXPECT_TRUE(answered);
  EXPECT_FALSE(result);
  App().ProcessMessages();
  EXPECT_EQ(ran, 0);

  // Once the main loop has ended, calls are abandoned at once.
  Form main({.caption = "Main"});
  headless::QueueUserAction([&] { main.Close(); });
  App().Run(main);
  std::thread late([&] { result = App().RunOnMainThread([&] { ++ran; }); });
  late.join();
  EXPECT_FALSE(result);
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace tessavo::tk
