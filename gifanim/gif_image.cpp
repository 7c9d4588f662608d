#include "gifanim/gif_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "gifanim/gif_reader.h"

namespace tessavo::gifanim {
namespace {

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
    : Control(parent, tk::ControlKind::Custom, args.bounds) {
  timer_.SetEnabled(false);
  timer_.SetOnTimer([this](TTimerEx&) { TimerTick(); });
  player_.OnChanging = [this] { DoChanging(); };
  player_.OnFrameDrawn = [this] {
    Changed(tk::Change::Value);
    Repaint();
  };
  player_.OnChange = [this] {
    Changed(tk::Change::Value);
    DoChange();
  };
  player_.OnWrap = [this] {
    if (OnWrapAnimation) OnWrapAnimation(*this);
  };
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
  data_.insert(data_.end(), stored.begin() + 4, stored.begin() + 4 + count);
  Changed(tk::Change::Picture);
}

std::vector<std::uint8_t> TGIFImage::WritePictureData() const {
  if (data_.empty()) return {};
  const auto count = static_cast<std::uint32_t>(data_.size());
  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8),
                                static_cast<std::uint8_t>(count >> 16),
                                static_cast<std::uint8_t>(count >> 24)};
  out.insert(out.end(), data_.begin(), data_.end());
  return out;
}

void TGIFImage::Loaded() {
  if (!data_.empty()) LoadPicture(data_);
}

bool TGIFImage::LoadPicture(std::span<const std::uint8_t> bytes) {
  // Decoded from a copy of its own: the bytes may be Data itself, which the
  // reset empties and a progress handler may change.
  const std::vector<std::uint8_t> work(bytes.begin(), bytes.end());
  player_.SetStatusCode(3);
  ResetPicture();
  data_ = work;
  gif::DecodeOptions options{.firstImageOnly = firstImageOnly_};
  if (OnProgress) {
    options.onProgress = [this](std::int64_t done, std::int64_t total, int percentage, bool& keepOn) {
      OnProgress(*this, done, total, percentage, keepOn);
    };
  }
  gif::GifAnimation animation = gif::DecodeGif(work, options);
  // A picture too large to compose keeps StatusCode 3.
  if (animation.StatusCode != 0) {
    player_.SetStatusCode(animation.StatusCode);
  } else if (player_.Load(std::move(animation))) {
    ShowLoadedPicture();
    return true;
  }
  ClearPicture();
  return false;
}

void TGIFImage::ShowLoadedPicture() {
  if (autoSize_) SetBounds({Bounds().left, Bounds().top, PictureWidth(), PictureHeight()});
  UpdateOpaqueStyle();
  DoChanging();
  player_.DrawCurrentFrame();
  DoChange();
  player_.SetStatusCode(0);
  Changed(tk::Change::Picture);
  Invalidate();
  AskForPalette(false);
}

void TGIFImage::ResetPicture() {
  player_.Reset();
  data_.clear();
  data_.shrink_to_fit();
  firstFrameBitmap_.reset();
  Changed(tk::Change::Picture);
}

void TGIFImage::ClearPicture() {
  ResetPicture();
  player_.ClearComposite();
  UpdateOpaqueStyle();
  Invalidate();
}

void TGIFImage::Assign(const TGIFImage* source) {
  if (!source || source->IsEmpty()) {
    ClearPicture();
    return;
  }
  LoadPicture(source->data_);
}

void TGIFImage::AssignTo(gif::GifBitmap& bitmap) {
  const gif::GifBitmap* first = GetFirstFrameBitmap();
  bitmap = first ? std::move(*CopyOf(*first)) : gif::GifBitmap();
}

const gif::GifBitmap* TGIFImage::GetFirstFrameBitmap() {
  if (IsEmpty() || FrameCount() == 0) return nullptr;
  if (!firstFrameBitmap_) firstFrameBitmap_ = CopyOf(Animation().Frame(1).Image);
  return firstFrameBitmap_.get();
}

void TGIFImage::DoChanging() {
  if (OnChanging) OnChanging(*this);
}

void TGIFImage::DoChange() {
  if (OnChange) OnChange(*this);
}

// --- Properties ----------------------------------------------------------------

void TGIFImage::SetAnimate(bool animate) {
  if (animate == Animate()) return;
  if (player_.SetAnimate(animate)) Invalidate();
  Changed(tk::Change::Picture);
}

void TGIFImage::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  if (autoSize && !IsEmpty()) {
    SetBounds({Bounds().left, Bounds().top, PictureWidth(), PictureHeight()});
    Invalidate();
  }
  Changed(tk::Change::Picture);
}

void TGIFImage::SetCurrentFrame(int frame) {
  if (frame == CurrentFrame()) return;
  if (!player_.FrameInRange(frame)) {
    player_.SetStatusCode(5);
    return;
  }
  DoChanging();
  player_.ShowFrame(frame);
  Changed(tk::Change::Value);
  Repaint();
  DoChange();
}

void TGIFImage::SetLoop(bool loop) {
  if (loop == Loop()) return;
  player_.SetLoop(loop);
  Changed(tk::Change::Picture);
}

void TGIFImage::SetSpeed(int speed) {
  if (speed == Speed()) return;
  player_.SetSpeed(speed);
  Changed(tk::Change::Picture);
}

void TGIFImage::SetVisible(bool visible) {
  if (visible == pictureVisible_) return;
  pictureVisible_ = visible;
  Changed(tk::Change::Picture);
  Invalidate();
  AskForPalette(true);
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
         (Bounds().width != PictureWidth() || Bounds().height != PictureHeight());
}

std::span<const gif::RgbQuad> TGIFImage::Palette() const {
  if (!pictureVisible_) return {};
  return player_.Palette();
}

// --- Painting ----------------------------------------------------------------------

tk::Rect TGIFImage::GetDestRect() const {
  const int pw = PictureWidth();
  const int ph = PictureHeight();
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
  const bool pictureCovers = !IsEmpty() && FrameCount() > 0 && !CompositeMask();
  const tk::Rect client = ClientRect();
  const bool fills = ClipTo(GetDestRect(), client) == client;
  declaredOpaque_ = pictureVisible_ && (opaque_ || pictureCovers) && fills;
}

void TGIFImage::PaintTo(Canvas& target) {
  if (!pictureVisible_) return;
  const tk::Rect client = ClientRect();
  if (opaque_) target.FillColor(client, color_);
  const Surface& composite = Composite();
  if (IsEmpty() || FrameCount() == 0 || composite.Empty()) return;
  // The mask whenever the file has transparency (see UpdateOpaqueStyle).
  const auto draw = [&](tk::Rect r) {
    if (const Surface* mask = CompositeMask()) {
      target.Draw(*mask, r, Rop::And);
      target.Draw(composite, r, Rop::Xor);
    } else {
      target.Draw(composite, r, Rop::Copy);
    }
  };
  const int pw = composite.Width();
  const int ph = composite.Height();
  if (!Stretched() && tile_) {
    for (int row = 0; row <= client.height / ph; ++row) {
      for (int column = 0; column <= client.width / pw; ++column) draw({column * pw, row * ph, pw, ph});
    }
  } else {
    draw(GetDestRect());
  }
}

void TGIFImage::PaintMessage(Canvas* target) {
  const bool wasOpaque = declaredOpaque_;
  UpdateOpaqueStyle();
  if (wasOpaque != declaredOpaque_) {
    Invalidate();
  } else if (target) {
    PaintTo(*target);
  }
  player_.ResumeAfterPaint();
}

void TGIFImage::Repaint() {
  if (!Parent() || repainting_ || !pictureVisible_) return;
  repainting_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{repainting_};
  if (tk::ControlPeer* peer = Peer()) peer->RepaintNow(GetDestRect(), doubleBuffered_, !declaredOpaque_);
}

std::string TGIFImage::StateText() const {
  std::ostringstream out;
  out << (IsEmpty() ? "empty" : "frames=" + std::to_string(FrameCount())) << " frame=" << CurrentFrame()
      << " shown=" << player_.ShownFrame() << " pass=" << LoopPass() << " speed=" << Speed()
      << (Animate() ? " animate" : "") << (Loop() ? " loop" : "") << (autoSize_ ? " autosize" : "")
      << (center_ ? " center" : "") << (opaque_ ? " opaque" : "") << (stretch_ ? " stretch" : "")
      << (stretchRatio_ ? " ratio" : "") << (tile_ ? " tile" : "")
      << (pictureVisible_ ? "" : " hidden") << " color=" << color_ << " data=" << data_.size();
  return out.str();
}

}  // namespace tessavo::gifanim
