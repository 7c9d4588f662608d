#include "gifanim/gif_player.h"

#include <algorithm>
#include <utility>

namespace tessavo::gifanim {

// --- The picture -------------------------------------------------------------

bool GifPlayer::Load(gif::GifAnimation animation) {
  // The composed picture is 32 bits a pixel, whatever the frames hold: a
  // file that declares a vast picture fails here, as a bitmap of more than
  // the reader's limit fails there.
  const std::int32_t width = animation.PictureWidth;
  const std::int32_t height = animation.PictureHeight;
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4 > gif::kLoadByteLimit) {
    return false;
  }
  animation_ = std::move(animation);
  Rewind();
  composite_ = Surface(width, height);  // black
  empty_ = false;
  compositeMask_.reset();
  if (animation_.AnyTransparent) {
    compositeMask_.emplace(width, height, true);
    SurfaceCanvas(*compositeMask_).FillWhite(compositeMask_->Bounds());
  }
  savedImages_.assign(static_cast<std::size_t>(animation_.FrameCount) + 1, Surface());
  savedMasks_.assign(static_cast<std::size_t>(animation_.FrameCount) + 1, Surface());
  timer_.SetInterval(1);
  return true;
}

void GifPlayer::Reset() {
  empty_ = true;
  timer_.SetEnabled(false);
  gif::GifAnimation none;
  none.Version = animation_.Version;
  none.PictureWidth = animation_.PictureWidth;
  none.PictureHeight = animation_.PictureHeight;
  animation_ = std::move(none);
  Rewind();
  savedImages_.clear();
  savedMasks_.clear();
}

void GifPlayer::ClearComposite() {
  compositeMask_.reset();
  composite_ = Surface();
}

void GifPlayer::Rewind() {
  currentFrame_ = 1;
  shownFrame_ = 0;
  loopPass_ = 1;
  firstTick_ = true;
}

std::span<const gif::RgbQuad> GifPlayer::Palette() const {
  if (empty_ || !FrameInRange(currentFrame_)) return {};
  return animation_.Frame(currentFrame_).Image.ColorTable();
}

// --- Playing -----------------------------------------------------------------

std::uint32_t GifPlayer::FrameInterval(int frame) const {
  const int delay = FrameInRange(frame) ? animation_.Frame(frame).Delay : 0;
  const long long interval = static_cast<long long>(std::max(delay, 50)) * 100 / speed_;
  return static_cast<std::uint32_t>(std::max<long long>(interval, 1));
}

bool GifPlayer::SetAnimate(bool animate) {
  if (animate == animate_) return false;
  animate_ = animate;
  loopPass_ = 1;
  if (animate && animation_.FrameCount > 1) timer_.SetInterval(FrameInterval(currentFrame_));
  timer_.SetEnabled(animate && MultiFrame() && !empty_);
  if (animate || currentFrame_ <= 1) return false;
  DisposeFrame(shownFrame_);
  currentFrame_ = 1;
  DrawCurrentFrame();
  return true;
}

void GifPlayer::SetLoop(bool loop) {
  if (loop == loop_) return;
  loop_ = loop;
  const int loops = animation_.LoopCount;
  if (loop && animation_.FrameCount > 0 && loops > 0 && loopPass_ > loops) {
    currentFrame_ = 1;
    loopPass_ = 1;
    if (animate_ && animation_.FrameCount > 1) timer_.SetInterval(FrameInterval(1));
    timer_.SetEnabled(animate_ && MultiFrame());
  }
}

void GifPlayer::SetSpeed(int speed) {
  if (speed == speed_) return;
  speed_ = std::max(speed, 1);
  // The next tick comes at once and takes the new speed.
  if (animation_.FrameCount > 1 && animate_) timer_.SetInterval(1);
}

void GifPlayer::ShowFrame(int frame) {
  if (!FrameInRange(frame)) {
    statusCode_ = 5;
    return;
  }
  if (FrameInRange(shownFrame_)) DisposeFrame(shownFrame_);
  currentFrame_ = frame;
  DrawCurrentFrame();
  statusCode_ = 0;
}

void GifPlayer::Tick() {
  if (empty_ || !animate_) return;
  const int frames = animation_.FrameCount;
  if (currentFrame_ > frames || currentFrame_ < 1) currentFrame_ = 1;
  Raise(OnChanging);
  if (firstTick_) {
    firstTick_ = false;  // the load drew the frame on screen
  } else {
    // What a frame change undoes is the frame on screen, whichever way it
    // got there (a tick, a frame chosen, Animate switched off).
    if (FrameInRange(shownFrame_)) DisposeFrame(shownFrame_);
    DrawCurrentFrame();
    Raise(OnFrameDrawn);
  }
  timer_.SetInterval(FrameInterval(currentFrame_));
  ++currentFrame_;
  const bool wrapped = currentFrame_ > frames;
  if (!loop_ && animation_.LoopCount > 0 && wrapped) {
    ++loopPass_;
    // The last frame stays; the next tick, if any, starts at frame 1.
    timer_.SetEnabled(loopPass_ <= animation_.LoopCount);
  } else if (wrapped || currentFrame_ < 1) {
    currentFrame_ = 1;
  }
  Raise(OnChange);
  if (wrapped) Raise(OnWrap);
}

void GifPlayer::ResumeAfterPaint() {
  const int loops = animation_.LoopCount;
  timer_.SetEnabled(MultiFrame() && animate_ && !empty_ && (loops >= loopPass_ || loop_ || loops == 0));
}

// --- Composing ---------------------------------------------------------------

tk::Rect GifPlayer::FrameRect(int i) const {
  const gif::TGIFFrame& frame = animation_.Frame(i);
  return {frame.Left, frame.Top, frame.Width, frame.Height};
}

void GifPlayer::DrawCurrentFrame() {
  if (!FrameInRange(currentFrame_)) {
    statusCode_ = 5;
    return;
  }
  const int i = currentFrame_;
  const gif::TGIFFrame& frame = animation_.Frame(i);
  const tk::Rect r = FrameRect(i);
  SurfaceCanvas image(composite_);
  if (frame.Disposal == 3) {
    if (compositeMask_) savedMasks_[static_cast<std::size_t>(i)] = compositeMask_->Copy(r);
    savedImages_[static_cast<std::size_t>(i)] = composite_.Copy(r);
  }
  if (frame.Transparent && frame.Mask && compositeMask_) {
    // The area turns opaque where the frame is; where its mask is white the
    // composite keeps its pixels, where black the frame's replace them.
    const tk::IndexedBitmap picture = SourceOf(frame.Image);
    const tk::IndexedBitmap mask = SourceOf(*frame.Mask);
    SurfaceCanvas(*compositeMask_).Draw(mask, r, Rop::And);
    image.Draw(picture, r, Rop::Xor);
    image.Draw(mask, r, Rop::And);
    image.Draw(picture, r, Rop::Xor);
  } else {
    if (compositeMask_) SurfaceCanvas(*compositeMask_).FillBlack(r);
    image.Draw(SourceOf(frame.Image), r, Rop::Copy);
  }
  shownFrame_ = i;
}

void GifPlayer::DisposeFrame(int i) {
  if (!FrameInRange(i)) {
    statusCode_ = 5;
    return;
  }
  const gif::TGIFFrame& frame = animation_.Frame(i);
  const tk::Rect r = FrameRect(i);
  // Back to the background always means black and transparent.
  if (frame.Disposal == 2) {
    if (compositeMask_) SurfaceCanvas(*compositeMask_).FillWhite(r);
    SurfaceCanvas(composite_).FillBlack(r);
  } else if (frame.Disposal == 3) {
    const auto slot = static_cast<std::size_t>(i);
    if (compositeMask_ && !savedMasks_[slot].Empty()) {
      SurfaceCanvas(*compositeMask_).Draw(savedMasks_[slot], r, Rop::Copy);
    }
    if (!savedImages_[slot].Empty()) SurfaceCanvas(composite_).Draw(savedImages_[slot], r, Rop::Copy);
  }
}

}  // namespace tessavo::gifanim
