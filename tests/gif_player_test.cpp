// The player on its own, without a control: passes, what each tick raises,
// and what it asks of its timer.
#include <gtest/gtest.h>

#include "gifanim/gif_player.h"
#include "gifanim/gif_reader.h"
#include "tests/gif_image_support.h"

namespace tessavo::gifanim::testing {
namespace {

class RecordingTimer final : public FrameTimer {
 public:
  void SetInterval(std::uint32_t milliseconds) override { interval = milliseconds; }
  void SetEnabled(bool on) override { enabled = on; }
  std::uint32_t interval = 0;
  bool enabled = false;
};

TEST(GifPlayer, PlaysItsPassesAndStopsOnTheLastFrame) {
  RecordingTimer timer;
  GifPlayer player(timer);
  std::string events;
  player.OnChanging = [&] { events += 'c'; };
  player.OnFrameDrawn = [&] { events += 'd'; };
  player.OnChange = [&] { events += 'C'; };
  player.OnWrap = [&] { events += 'w'; };
  // Frame 1 (100 ms) is disposed to the background, frame 2 (200 ms)
  // covers the right pixel; two passes.
  ASSERT_TRUE(player.Load(gif::DecodeGif(MakeGif(2, 1,
                                                  {{.at = {0, 0, 2, 1}, .pixels = "11", .disposal = 2, .delay = 10},
                                                   {.at = {1, 0, 1, 1}, .pixels = "2", .delay = 20}},
                                                  2))));
  EXPECT_EQ(timer.interval, 1u);
  player.DrawCurrentFrame();
  player.SetSpeed(50);
  EXPECT_FALSE(player.SetAnimate(true));
  EXPECT_TRUE(timer.enabled);

  struct Step {
    const char* events;
    const char* picture;
    std::uint32_t interval;  // at half speed
    int next;
    bool running;
  };
  const Step steps[] = {{"cC", "11/", 200, 2, true},  // the load drew frame 1
                        {"cdCw", ".2/", 400, 3, true},
                        {"cdC", "11/", 200, 2, true},
                        {"cdCw", ".2/", 400, 3, false}};
  for (const Step& step : steps) {
    events.clear();
    player.Tick();
    EXPECT_EQ(events, step.events);
    EXPECT_EQ(Picture(player.Composite()), step.picture);
    EXPECT_EQ(timer.interval, step.interval);
    EXPECT_EQ(player.CurrentFrame(), step.next);
    EXPECT_EQ(timer.enabled, step.running);
  }
  player.ResumeAfterPaint();
  EXPECT_FALSE(timer.enabled) << "the passes are used up";
  player.SetLoop(true);
  EXPECT_TRUE(timer.enabled);
  EXPECT_EQ(player.CurrentFrame(), 1);

  player.Reset();
  EXPECT_TRUE(player.IsEmpty());
  EXPECT_FALSE(timer.enabled);
  EXPECT_EQ(player.Animation().PictureWidth, 2) << "an empty control is still placed by it";
}

}  // namespace
}  // namespace tessavo::gifanim::testing
