// Plays a decoded GIF animation: composes its frames with their
// transparency and disposal into Composite (and CompositeMask where parts
// are transparent), and steps through them on a FrameTimer, at the speed
// the frames' delays and Speed give, for as many passes as the file's loop
// count says (or endlessly with Loop).
//
// The frame the next tick draws is CurrentFrame (1-based). After the last
// pass the last frame stays and CurrentFrame reads FrameCount + 1 until
// Animate is switched off, a frame is chosen or Loop is switched on.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "gifanim/gif_animation.h"
#include "gifanim/raster.h"

namespace tessavo::gifanim {

// What drives a player: it ticks the player every Interval milliseconds
// while enabled.
class FrameTimer {
 public:
  virtual ~FrameTimer() = default;
  virtual void SetInterval(std::uint32_t milliseconds) = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

class GifPlayer {
 public:
  using Event = std::function<void()>;

  // Starts empty; the timer is left as it is.
  explicit GifPlayer(FrameTimer& timer) : timer_(timer) {}
  GifPlayer(const GifPlayer&) = delete;
  GifPlayer& operator=(const GifPlayer&) = delete;

  // What a tick raises, in this order: OnChanging; OnFrameDrawn when it
  // drew a frame into Composite (every tick but the first after a load,
  // whose frame the load drew); OnChange; OnWrap when a pass ended.
  Event OnChanging;
  Event OnFrameDrawn;
  Event OnChange;
  Event OnWrap;

  // Takes a decoded animation (StatusCode 0) and makes the composed picture
  // black at its size, and its mask white (all transparent); frame 1 comes
  // next, drawn by DrawCurrentFrame. An animation already switched on ticks
  // at once. False, and nothing taken, when the picture is too large to
  // compose at 32 bits a pixel within the reader's memory limit.
  bool Load(gif::GifAnimation animation);
  // Drops the frames and stops the timer; frame 1 and pass 1 come next.
  // The composed picture stays until ClearComposite, and the picture's
  // size and version stay as well: an empty control is still placed by
  // them.
  void Reset();
  void ClearComposite();

  bool IsEmpty() const { return empty_; }
  const gif::GifAnimation& Animation() const { return animation_; }
  bool MultiFrame() const { return animation_.FrameCount > 1; }
  bool FrameInRange(int i) const { return animation_.FrameCount > 0 && i >= 1 && i <= animation_.FrameCount; }
  // 0 after a successful frame change, 5 after a frame index out of range;
  // the owner sets it for loads.
  std::uint8_t StatusCode() const { return statusCode_; }
  void SetStatusCode(std::uint8_t code) { statusCode_ = code; }

  bool Animate() const { return animate_; }
  // Pass 1 again; the timer runs while animating a picture of several
  // frames. Switching off after frame 1 undoes the frame on show and draws
  // frame 1 over the composed picture: true then, as the picture changed.
  bool SetAnimate(bool animate);
  bool Loop() const { return loop_; }
  // Switching on after the last pass starts the animation over.
  void SetLoop(bool loop);
  // Percent; below 1 becomes 1. Takes effect at once.
  int Speed() const { return speed_; }
  void SetSpeed(int speed);
  int CurrentFrame() const { return currentFrame_; }
  // Undoes the frame on show and draws `frame`; outside 1..FrameCount:
  // StatusCode 5 and nothing changes.
  void ShowFrame(int frame);
  int LoopPass() const { return loopPass_; }
  bool FirstTick() const { return firstTick_; }
  // The frame Composite shows last, 0 for none.
  int ShownFrame() const { return shownFrame_; }

  // One step of the animation, for the timer.
  void Tick();
  // After the picture was painted: the timer runs again while animating,
  // unless the passes are used up.
  void ResumeAfterPaint();

  // Draws frame CurrentFrame into Composite; undoes frame i before the next
  // one is drawn. Indexes outside 1..FrameCount set StatusCode 5.
  void DrawCurrentFrame();
  void DisposeFrame(int i);

  const Surface& Composite() const { return composite_; }
  // Present only when some frame is transparent: white where transparent.
  const Surface* CompositeMask() const { return compositeMask_ ? &*compositeMask_ : nullptr; }
  // The colour table of the current frame; empty when there is none.
  std::span<const gif::RgbQuad> Palette() const;

 private:
  void Rewind();
  std::uint32_t FrameInterval(int frame) const;
  tk::Rect FrameRect(int i) const;
  static void Raise(const Event& event) {
    if (event) event();
  }

  FrameTimer& timer_;
  gif::GifAnimation animation_;
  Surface composite_;
  std::optional<Surface> compositeMask_;
  // For frames that restore what was under them (disposal 3): that area
  // of Composite and CompositeMask, taken when the frame was drawn.
  std::vector<Surface> savedImages_;
  std::vector<Surface> savedMasks_;

  bool empty_ = true;
  std::uint8_t statusCode_ = 0;
  bool animate_ = false;
  bool loop_ = false;
  int speed_ = 100;
  int currentFrame_ = 1;
  int shownFrame_ = 0;
  int loopPass_ = 1;
  bool firstTick_ = true;
};

}  // namespace tessavo::gifanim
