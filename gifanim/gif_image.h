// TGIFImage: the animated picture control. A window-less control that holds
// one GIF file (Data), reads it with GifReader, composes its frames with
// their transparency and disposal into Composite (and CompositeMask where
// parts are transparent) and plays them on its TTimerEx, at the speed the
// frames' delays and Speed give. It paints on its parent's surface:
// centred, tiled, stretched or scaled to fit, over its Color when Opaque.
//
// The frame that the next tick draws is CurrentFrame (1-based). After the
// last pass the last frame stays and CurrentFrame reads FrameCount + 1
// until Animate is switched off, a frame is chosen or Loop is switched on.
//
// Everything runs on the main thread: the timer's worker has the main
// thread run each tick (ThreadSafe stays off).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "gifanim/gif_reader.h"
#include "gifanim/raster.h"
#include "gifanim/timer_ex.h"
#include "toolkit/control.h"
#include "toolkit/self_painted.h"

namespace tessavo::gifanim {

class TGIFImage : public tk::Control, public gif::GifReader, public tk::SelfPainted {
 public:
  using NotifyEvent = std::function<void(TGIFImage& sender)>;
  // Sender, BytesProcessed, BytesToProcess, PercentageProcessed,
  // KeepOnProcessing (clear it to cancel the load).
  using ProgressEvent = std::function<void(TGIFImage& sender, std::int64_t, std::int64_t, int, bool&)>;

  struct CreateArgs {
    tk::Rect bounds{0, 0, 105, 105};
  };
  TGIFImage(tk::Container* parent, const CreateArgs& args);
  ~TGIFImage() override;

  // The stored form of Data: a 32-bit little-endian signed byte count N,
  // then N bytes. Reading appends them to Data; writing gives nothing when
  // Data is empty.
  virtual void ReadPictureData(std::span<const std::uint8_t> stored);
  virtual std::vector<std::uint8_t> WritePictureData() const;
  // After the form has set the stored properties: reads Data.
  void Loaded();

  // Reads a whole GIF file; on any failure the control is cleared and the
  // result is false.
  bool LoadPicture(std::span<const std::uint8_t> bytes);
  void ResetPicture() override;
  // ResetPicture, and the composed picture goes too.
  void ClearPicture();

  // From another picture control (its stored picture; an empty one, or
  // none, clears this one) and to a bitmap (frame 1's, or an empty bitmap).
  void Assign(const TGIFImage* source);
  void AssignTo(gif::GifBitmap& bitmap);
  // A copy of frame 1's image, made on first request and kept until the
  // picture is reset; nullptr when Empty.
  const gif::GifBitmap* GetFirstFrameBitmap();

  bool Animate() const { return animate_; }
  void SetAnimate(bool animate);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  bool Center() const { return center_; }
  void SetCenter(bool center) { SetDrawFlag(center_, center); }
  int CurrentFrame() const { return currentFrame_; }
  // Outside 1..FrameCount: StatusCode 5 and nothing changes.
  void SetCurrentFrame(int frame);
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }
  bool Loop() const { return loop_; }
  void SetLoop(bool loop);
  bool Opaque() const { return opaque_; }
  void SetOpaque(bool opaque) { SetDrawFlag(opaque_, opaque); }
  // Percent; below 1 becomes 1.
  int Speed() const { return speed_; }
  void SetSpeed(int speed);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch) { SetDrawFlag(stretch_, stretch); }
  bool StretchRatio() const { return stretchRatio_; }
  void SetStretchRatio(bool ratio) { SetDrawFlag(stretchRatio_, ratio); }
  bool Tile() const { return tile_; }
  void SetTile(bool tile) { SetDrawFlag(tile_, tile); }
  bool Threaded() const { return timer_.Threaded(); }
  void SetThreaded(bool threaded) { timer_.SetThreaded(threaded); }
  TThreadPriority ThreadPriority() const { return timer_.ThreadPriority(); }
  void SetThreadPriority(TThreadPriority priority) { timer_.SetThreadPriority(priority); }
  // The picture's own flag, apart from the toolkit's: while it is off
  // nothing is painted, but the control still takes the pointer.
  bool Visible() const { return pictureVisible_; }
  void SetVisible(bool visible);
  // Behind the picture with Opaque (default: the window colour).
  tk::Color Color() const { return color_; }
  void SetColor(tk::Color color);

  NotifyEvent OnChanging;
  NotifyEvent OnChange;
  ProgressEvent OnProgress;
  NotifyEvent OnWrapAnimation;

  bool Empty() const { return empty_; }
  bool MultiFrame() const { return multiFrame_; }
  int LoopPass() const { return loopPass_; }
  bool FirstTick() const { return firstTick_; }
  // Stretch or StretchRatio, and the control is not the picture's size.
  bool Stretched() const;
  bool Repainting() const { return repainting_; }
  // Whether the control covers all that is behind it (UpdateOpaqueStyle).
  bool DeclaredOpaque() const { return declaredOpaque_; }
  const Surface& Composite() const { return composite_; }
  // Present only when some frame is transparent: white where transparent.
  const Surface* CompositeMask() const { return compositeMask_ ? &*compositeMask_ : nullptr; }
  const TTimerEx& Timer() const { return timer_; }
  // The colour table of the current frame while one is shown; empty
  // otherwise.
  std::span<const gif::RgbQuad> Palette() const;

  // The timer's handler: one step of the animation.
  void TimerTick();
  // Draws frame CurrentFrame into Composite; undoes frame i before the next
  // one is drawn. Indexes outside 1..FrameCount set StatusCode 5.
  void DrawCurrentFrame();
  void DisposeFrame(int i);
  // Where the picture goes, in the control's coordinates.
  tk::Rect GetDestRect() const;
  // The picture (and with Opaque its background) onto a target whose
  // origin is the control's top-left.
  void PaintTo(RasterTarget& target);
  // The toolkit's paint: nothing for an Empty control without Opaque.
  void Paint(RasterTarget& target);
  // A paint request for the control: brings its opaque declaration up to
  // date, paints (target may be null: the toolkit paints later) unless the
  // declaration changed, and switches the timer back on unless the passes
  // are used up.
  void PaintMessage(RasterTarget* target);
  void UpdateOpaqueStyle();
  // The flicker-free repaint of the picture's rectangle, now.
  void Repaint();

  void PaintOn(void* nativeDc, tk::Point at) override;
  std::string StateText() const override;

 protected:
  virtual void DoChanging();
  virtual void DoChange();
  void DoProgress() override;
  void FinishLoad() override;
  void LoadSucceeded() override;

 private:
  void SetDrawFlag(bool& flag, bool value);
  std::uint32_t FrameInterval(int frame) const;
  bool FrameInRange(int i) const { return FrameCount > 0 && i >= 1 && i <= FrameCount; }
  tk::Rect FrameRect(int i) const;
  // The control's client rectangle.
  tk::Rect ClientRect() const { return {0, 0, Bounds().width, Bounds().height}; }
  // Tells the peer the picture must be drawn again (the toolkit's
  // invalidation).
  void Invalidate() { Changed(tk::Change::Repaint); }

  TTimerEx timer_;
  Surface composite_;
  std::optional<Surface> compositeMask_;
  // For frames that restore what was under them (disposal 3): that area
  // of Composite and CompositeMask, taken when the frame was drawn.
  std::vector<Surface> savedImages_;
  std::vector<Surface> savedMasks_;
  std::unique_ptr<gif::GifBitmap> firstFrameBitmap_;

  bool animate_ = false;
  bool autoSize_ = false;
  bool center_ = false;
  bool doubleBuffered_ = true;
  bool loop_ = false;
  bool opaque_ = false;
  int speed_ = 100;
  bool stretch_ = false;
  bool stretchRatio_ = false;
  bool tile_ = false;
  bool pictureVisible_ = true;
  tk::Color color_ = tk::ClWindow;

  bool empty_ = true;
  bool multiFrame_ = false;
  int currentFrame_ = 1;
  // The frame Composite shows last, 0 for none: what a frame change
  // undoes.
  int shownFrame_ = 0;
  int loopPass_ = 1;
  bool firstTick_ = true;
  bool repainting_ = false;
  bool declaredOpaque_ = false;
};

}  // namespace tessavo::gifanim
