#include "gifanim/gif_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "gifanim/picture_window.h"

namespace tessavo::gifanim {
namespace {

// The load was cancelled by the progress handler; the reader ends the load
// on any exception, silently.
struct LoadCancelled {};

std::unique_ptr<gif::GifBitmap> CopyOf(const gif::GifBitmap& bitmap) {
  auto copy = std::make_unique<gif::GifBitmap>();
  if (bitmap.Empty()) return copy;
  const auto file = bitmap.FileBytes();
  gif::ZeroedBytes bytes(file.size());
  std::memcpy(bytes.data(), file.data(), file.size());
  copy->LoadFromFile(std::move(bytes));
  return copy;
}

// The part of r inside the client rectangle.
tk::Rect ClipTo(tk::Rect r, tk::Rect client) {
  const int left = std::max(r.left, client.left);
  const int top = std::max(r.top, client.top);
  const int right = std::min(r.left + r.width, client.left + client.width);
  const int bottom = std::min(r.top + r.height, client.top + client.height);
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

}  // namespace

TGIFImage::TGIFImage(tk::Container* parent, const CreateArgs& args)
    : Control(parent, tk::ControlKind::Picture, args.bounds) {
  timer_.SetEnabled(false);
  timer_.SetOnTimer([this](TTimerEx&) { TimerTick(); });
}

TGIFImage::~TGIFImage() {
  ResetPicture();
  // No tick may reach a control that is half gone.
  timer_.SetThreaded(false);
  timer_.SetOnTimer(nullptr);
}

// --- The picture and its stored form ----------------------------------------

void TGIFImage::ReadPictureData(std::span<const std::uint8_t> stored) {
  if (stored.size() < 4) throw std::runtime_error("picture data: no byte count");
  const auto count = static_cast<std::int32_t>(std::uint32_t{stored[0]} | std::uint32_t{stored[1]} << 8 |
                                               std::uint32_t{stored[2]} << 16 |
                                               std::uint32_t{stored[3]} << 24);
  if (count <= 0) return;
  if (stored.size() - 4 < static_cast<std::size_t>(count)) {
    throw std::runtime_error("picture data: fewer bytes than its count");
  }
  Data.insert(Data.end(), stored.begin() + 4, stored.begin() + 4 + count);
  Changed(tk::Change::Picture);
}

std::vector<std::uint8_t> TGIFImage::WritePictureData() const {
  if (Data.empty()) return {};
  const auto count = static_cast<std::uint32_t>(Data.size());
  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8),
                                static_cast<std::uint8_t>(count >> 16),
                                static_cast<std::uint8_t>(count >> 24)};
  out.insert(out.end(), Data.begin(), Data.end());
  return out;
}

void TGIFImage::Loaded() {
  if (Data.empty()) return;
  const std::vector<std::uint8_t> bytes = Data;
  LoadPicture(bytes);
}

bool TGIFImage::LoadPicture(std::span<const std::uint8_t> bytes) {
  if (GifReader::LoadPicture(bytes)) return true;
  ClearPicture();
  return false;
}

void TGIFImage::ResetPicture() {
  empty_ = true;
  timer_.SetEnabled(false);
  GifReader::ResetPicture();
  multiFrame_ = false;
  currentFrame_ = 1;
  shownFrame_ = 0;
  loopPass_ = 1;
  firstTick_ = true;
  savedImages_.clear();
  savedMasks_.clear();
  firstFrameBitmap_.reset();
  Changed(tk::Change::Picture);
}

void TGIFImage::ClearPicture() {
  ResetPicture();
  compositeMask_.reset();
  composite_ = Surface();
  UpdateOpaqueStyle();
  Invalidate();
}

void TGIFImage::Assign(const TGIFImage* source) {
  if (!source || source->Empty()) {
    ClearPicture();
    return;
  }
  const std::vector<std::uint8_t> bytes = source->Data;
  LoadPicture(bytes);
}

void TGIFImage::AssignTo(gif::GifBitmap& bitmap) {
  const gif::GifBitmap* first = GetFirstFrameBitmap();
  bitmap = first ? std::move(*CopyOf(*first)) : gif::GifBitmap();
}

const gif::GifBitmap* TGIFImage::GetFirstFrameBitmap() {
  if (empty_ || FrameCount == 0) return nullptr;
  if (!firstFrameBitmap_) firstFrameBitmap_ = CopyOf(Frame(1).Image);
  return firstFrameBitmap_.get();
}

void TGIFImage::DoProgress() {
  if (!OnProgress) return;
  const auto position = static_cast<std::int64_t>(WorkBuffer.position);
  const auto size = static_cast<std::int64_t>(WorkBuffer.Size());
  // 100 * position / size to the nearest, halves away from zero.
  const int percentage = size > 0 ? static_cast<int>((200 * position + size) / (2 * size)) : -1;
  OnProgress(*this, position, size, percentage, KeepOnProcessing);
  if (!KeepOnProcessing) {
    StatusCode = 1;
    throw LoadCancelled{};
  }
}

void TGIFImage::FinishLoad() {
  // The composed picture is 32 bits a pixel, whatever the frames hold: a
  // file that declares a vast picture fails here, as a bitmap of more than
  // the reader's limit fails there.
  if (static_cast<std::uint64_t>(PictureWidth) * static_cast<std::uint64_t>(PictureHeight) * 4 >
      kLoadByteLimit) {
    throw std::length_error("picture too large to compose");
  }
  composite_ = Surface(PictureWidth, PictureHeight);  // black
  if (autoSize_) SetBounds({Bounds().left, Bounds().top, PictureWidth, PictureHeight});
  multiFrame_ = FrameCount > 1;
  empty_ = false;
  compositeMask_.reset();
  if (AnyTransparent) {
    compositeMask_.emplace(PictureWidth, PictureHeight, true);
    SurfaceTarget(*compositeMask_).FillWhite(compositeMask_->Bounds());
  }
  UpdateOpaqueStyle();
  savedImages_.assign(static_cast<std::size_t>(FrameCount) + 1, Surface());
  savedMasks_.assign(static_cast<std::size_t>(FrameCount) + 1, Surface());
  // An animation already switched on ticks at once.
  timer_.SetInterval(1);
  DoChanging();
  DrawCurrentFrame();
  DoChange();
}

void TGIFImage::LoadSucceeded() {
  Changed(tk::Change::Picture);
  Invalidate();
  PostPaletteQuery(*this, false);
}

void TGIFImage::DoChanging() {
  if (OnChanging) OnChanging(*this);
}

void TGIFImage::DoChange() {
  if (OnChange) OnChange(*this);
}

// --- Properties ----------------------------------------------------------------

std::uint32_t TGIFImage::FrameInterval(int frame) const {
  const int delay = FrameInRange(frame) ? Frame(frame).Delay : 0;
  const long long interval = static_cast<long long>(std::max(delay, 50)) * 100 / speed_;
  return static_cast<std::uint32_t>(std::max<long long>(interval, 1));
}

void TGIFImage::SetAnimate(bool animate) {
  if (animate == animate_) return;
  animate_ = animate;
  loopPass_ = 1;
  if (animate && FrameCount > 1) timer_.SetInterval(FrameInterval(currentFrame_));
  timer_.SetEnabled(animate && multiFrame_ && !empty_);
  if (!animate && currentFrame_ > 1) {
    DisposeFrame(shownFrame_);
    currentFrame_ = 1;
    DrawCurrentFrame();
    Invalidate();
  }
  Changed(tk::Change::Picture);
}

void TGIFImage::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  if (autoSize && !empty_) {
    SetBounds({Bounds().left, Bounds().top, PictureWidth, PictureHeight});
    Invalidate();
  }
  Changed(tk::Change::Picture);
}

void TGIFImage::SetCurrentFrame(int frame) {
  if (frame == currentFrame_) return;
  if (!FrameInRange(frame)) {
    StatusCode = 5;
    return;
  }
  DoChanging();
  if (FrameInRange(shownFrame_)) DisposeFrame(shownFrame_);
  currentFrame_ = frame;
  DrawCurrentFrame();
  StatusCode = 0;
  Changed(tk::Change::Value);
  Repaint();
  DoChange();
}

void TGIFImage::SetLoop(bool loop) {
  if (loop == loop_) return;
  loop_ = loop;
  if (loop && FrameCount > 0 && LoopCount > 0 && loopPass_ > LoopCount) {
    currentFrame_ = 1;
    loopPass_ = 1;
    if (animate_ && FrameCount > 1) timer_.SetInterval(FrameInterval(1));
    timer_.SetEnabled(animate_ && multiFrame_);
  }
  Changed(tk::Change::Picture);
}

void TGIFImage::SetSpeed(int speed) {
  if (speed == speed_) return;
  speed_ = std::max(speed, 1);
  // The next tick comes at once and takes the new speed.
  if (FrameCount > 1 && animate_) timer_.SetInterval(1);
  Changed(tk::Change::Picture);
}

void TGIFImage::SetVisible(bool visible) {
  if (visible == pictureVisible_) return;
  pictureVisible_ = visible;
  Changed(tk::Change::Picture);
  Invalidate();
  PostPaletteQuery(*this, true);
}

void TGIFImage::SetColor(tk::Color color) {
  if (color == color_) return;
  color_ = color;
  Changed(tk::Change::Color);
}

void TGIFImage::SetDrawFlag(bool& flag, bool value) {
  if (flag == value) return;
  flag = value;
  Changed(tk::Change::Picture);
}

bool TGIFImage::Stretched() const {
  return (stretch_ || stretchRatio_) &&
         (Bounds().width != PictureWidth || Bounds().height != PictureHeight);
}

std::span<const gif::RgbQuad> TGIFImage::Palette() const {
  if (empty_ || !pictureVisible_ || !FrameInRange(currentFrame_)) return {};
  return Frame(currentFrame_).Image.ColorTable();
}

// --- Playing and composing ---------------------------------------------------

void TGIFImage::TimerTick() {
  if (empty_ || !animate_) return;
  if (currentFrame_ > FrameCount || currentFrame_ < 1) currentFrame_ = 1;
  DoChanging();
  if (firstTick_) {
    firstTick_ = false;  // the load drew the frame on screen
  } else {
    // What a frame change undoes is the frame on screen, whichever way it
    // got there (a tick, a frame chosen, Animate switched off).
    if (FrameInRange(shownFrame_)) DisposeFrame(shownFrame_);
    DrawCurrentFrame();
    Changed(tk::Change::Value);
    Repaint();
  }
  timer_.SetInterval(FrameInterval(currentFrame_));
  ++currentFrame_;
  const bool wrapped = currentFrame_ > FrameCount;
  if (!loop_ && LoopCount > 0 && wrapped) {
    ++loopPass_;
    // The last frame stays; the next tick, if any, starts at frame 1.
    timer_.SetEnabled(loopPass_ <= LoopCount);
  } else if (wrapped || currentFrame_ < 1) {
    currentFrame_ = 1;
  }
  Changed(tk::Change::Value);
  DoChange();
  if (wrapped && OnWrapAnimation) OnWrapAnimation(*this);
}

tk::Rect TGIFImage::FrameRect(int i) const {
  const gif::TGIFFrame& frame = Frame(i);
  return {frame.Left, frame.Top, frame.Width, frame.Height};
}

void TGIFImage::DrawCurrentFrame() {
  if (!FrameInRange(currentFrame_)) {
    StatusCode = 5;
    return;
  }
  const int i = currentFrame_;
  const gif::TGIFFrame& frame = Frame(i);
  const tk::Rect r = FrameRect(i);
  SurfaceTarget image(composite_);
  if (frame.Disposal == 3) {
    if (compositeMask_) savedMasks_[static_cast<std::size_t>(i)] = compositeMask_->Copy(r);
    savedImages_[static_cast<std::size_t>(i)] = composite_.Copy(r);
  }
  if (frame.Transparent && frame.Mask && compositeMask_) {
    // The area turns opaque where the frame is; where its mask is white the
    // composite keeps its pixels, where black the frame's replace them.
    SurfaceTarget(*compositeMask_).Draw(*frame.Mask, r, Rop::And);
    image.Draw(frame.Image, r, Rop::Xor);
    image.Draw(*frame.Mask, r, Rop::And);
    image.Draw(frame.Image, r, Rop::Xor);
  } else {
    if (compositeMask_) SurfaceTarget(*compositeMask_).FillBlack(r);
    image.Draw(frame.Image, r, Rop::Copy);
  }
  shownFrame_ = i;
}

void TGIFImage::DisposeFrame(int i) {
  if (!FrameInRange(i)) {
    StatusCode = 5;
    return;
  }
  const gif::TGIFFrame& frame = Frame(i);
  const tk::Rect r = FrameRect(i);
  // Back to the background always means black and transparent.
  if (frame.Disposal == 2) {
    if (compositeMask_) SurfaceTarget(*compositeMask_).FillWhite(r);
    SurfaceTarget(composite_).FillBlack(r);
  } else if (frame.Disposal == 3) {
    const auto slot = static_cast<std::size_t>(i);
    if (compositeMask_ && !savedMasks_[slot].Empty()) {
      SurfaceTarget(*compositeMask_).Draw(savedMasks_[slot], r, Rop::Copy);
    }
    if (!savedImages_[slot].Empty()) SurfaceTarget(composite_).Draw(savedImages_[slot], r, Rop::Copy);
  }
}

// --- Painting ----------------------------------------------------------------------

tk::Rect TGIFImage::GetDestRect() const {
  const int pw = PictureWidth;
  const int ph = PictureHeight;
  const int cw = Bounds().width;
  const int ch = Bounds().height;
  const tk::Rect client = ClientRect();
  if (Stretched() && stretchRatio_ && !stretch_) {
    if (pw <= 0 || ph <= 0) return client;
    const float xr = static_cast<float>(cw) / static_cast<float>(pw);
    const float yr = static_cast<float>(ch) / static_cast<float>(ph);
    // Rounded to the nearest, halves to even (the default rounding mode).
    const auto round = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    if (xr > yr) {
      const double margin = (cw - pw * static_cast<double>(yr)) * 0.5;
      if (!std::isfinite(margin)) return client;
      const int left = round(margin);
      return {left, 0, round(cw - margin) - left, ch};
    }
    const double margin = (ch - ph * static_cast<double>(xr)) * 0.5;
    if (!std::isfinite(margin)) return client;
    const int top = round(margin);
    return {0, top, cw, round(ch - margin) - top};
  }
  if (Stretched() || tile_) return client;
  if (center_) return {(cw - pw) / 2, (ch - ph) / 2, pw, ph};
  return {0, 0, pw, ph};
}

void TGIFImage::UpdateOpaqueStyle() {
  // Any transparency in the file can show through once frames are disposed
  // to the background, so only a picture without it covers its rectangle.
  const bool pictureCovers = !empty_ && FrameCount > 0 && !compositeMask_;
  const tk::Rect client = ClientRect();
  const bool fills = ClipTo(GetDestRect(), client) == client;
  declaredOpaque_ = pictureVisible_ && (opaque_ || pictureCovers) && fills;
}

void TGIFImage::PaintTo(RasterTarget& target) {
  if (!pictureVisible_) return;
  const tk::Rect client = ClientRect();
  if (opaque_) target.FillColor(client, color_);
  if (empty_ || FrameCount == 0 || composite_.Empty()) return;
  // The mask whenever the file has transparency (see UpdateOpaqueStyle).
  const auto draw = [&](tk::Rect r) {
    if (compositeMask_) {
      target.Draw(*compositeMask_, r, Rop::And);
      target.Draw(composite_, r, Rop::Xor);
    } else {
      target.Draw(composite_, r, Rop::Copy);
    }
  };
  const int pw = composite_.Width();
  const int ph = composite_.Height();
  if (!Stretched() && tile_) {
    for (int row = 0; row <= client.height / ph; ++row) {
      for (int column = 0; column <= client.width / pw; ++column) draw({column * pw, row * ph, pw, ph});
    }
  } else {
    draw(GetDestRect());
  }
}

void TGIFImage::Paint(RasterTarget& target) {
  if (empty_ && !opaque_) return;
  PaintTo(target);
}

void TGIFImage::PaintMessage(RasterTarget* target) {
  const bool wasOpaque = declaredOpaque_;
  UpdateOpaqueStyle();
  if (wasOpaque != declaredOpaque_) {
    Invalidate();
  } else if (target) {
    PaintTo(*target);
  }
  timer_.SetEnabled(multiFrame_ && animate_ && !empty_ &&
                    (LoopCount >= loopPass_ || loop_ || LoopCount == 0));
}

void TGIFImage::Repaint() {
  if (!Parent() || repainting_ || !pictureVisible_) return;
  repainting_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{repainting_};
  tk::Rect area = GetDestRect();
  const tk::Point at = FormOffset();
  area.left += at.x;
  area.top += at.y;
  RepaintFormArea(*this, area, doubleBuffered_, !declaredOpaque_);
}

void TGIFImage::PaintOn(void* nativeDc, tk::Point at) {
  const std::unique_ptr<RasterTarget> target = MakeDeviceTarget(nativeDc, at);
  PaintMessage(target.get());
}

std::string TGIFImage::StateText() const {
  std::ostringstream out;
  out << (empty_ ? "empty" : "frames=" + std::to_string(FrameCount)) << " frame=" << currentFrame_
      << " shown=" << shownFrame_ << " pass=" << loopPass_ << " speed=" << speed_
      << (animate_ ? " animate" : "") << (loop_ ? " loop" : "") << (autoSize_ ? " autosize" : "")
      << (center_ ? " center" : "") << (opaque_ ? " opaque" : "") << (stretch_ ? " stretch" : "")
      << (stretchRatio_ ? " ratio" : "") << (tile_ ? " tile" : "")
      << (pictureVisible_ ? "" : " hidden") << " color=" << color_ << " data=" << Data.size();
  return out.str();
}

}  // namespace tessavo::gifanim
