// TGIFImage: the animated picture control. A window-less control that holds
// one GIF file (Data), decodes it (DecodeGif) and hands the frames to its
// GifPlayer, which composes and plays them on the control's TTimerEx. The
// control forwards the player's properties with its own events, and paints
// the composed picture on its parent's surface: centred, tiled, stretched
// or scaled to fit, over its Color when Opaque.
//
// Everything runs on the main thread: the timer's worker has the main
// thread run each tick (ThreadSafe stays off).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "gifanim/gif_player.h"
#include "gifanim/raster.h"
#include "gifanim/timer_ex.h"
#include "toolkit/control.h"

namespace tessavo::gifanim {

class TGIFImage : public tk::Control {
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

  // Reads a whole GIF file into Data and decodes it; on any failure the
  // control is cleared and the result is false (StatusCode: 1 cancelled by
  // OnProgress, 2 no data, 3 not a picture). On success StatusCode is 0.
  bool LoadPicture(std::span<const std::uint8_t> bytes);
  // Empty: the frames go, Data is emptied and the timer stops.
  void ResetPicture();
  // ResetPicture, and the composed picture goes too.
  void ClearPicture();

  // From another picture control (its stored picture; an empty one, or
  // none, clears this one) and to a bitmap (frame 1's, or an empty bitmap).
  void Assign(const TGIFImage* source);
  void AssignTo(gif::GifBitmap& bitmap);
  // A copy of frame 1's image, made on first request and kept until the
  // picture is reset; nullptr when IsEmpty.
  const gif::GifBitmap* GetFirstFrameBitmap();

  bool Animate() const { return player_.Animate(); }
  void SetAnimate(bool animate);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  bool Center() const { return center_; }
  void SetCenter(bool center) { SetDrawFlag(center_, center); }
  int CurrentFrame() const { return player_.CurrentFrame(); }
  // Outside 1..FrameCount: StatusCode 5 and nothing changes.
  void SetCurrentFrame(int frame);
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }
  // Read by the next load.
  bool FirstImageOnly() const { return firstImageOnly_; }
  void SetFirstImageOnly(bool on) { firstImageOnly_ = on; }
  bool Loop() const { return player_.Loop(); }
  void SetLoop(bool loop);
  bool Opaque() const { return opaque_; }
  void SetOpaque(bool opaque) { SetDrawFlag(opaque_, opaque); }
  // Percent; below 1 becomes 1.
  int Speed() const { return player_.Speed(); }
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

  // The file's bytes exactly as loaded.
  const std::vector<std::uint8_t>& Data() const { return data_; }
  // 0 the last load or frame change succeeded; 1 to 3 a load failed, as
  // LoadPicture says (3 also while one is under way); 5 a frame index was
  // out of range.
  std::uint8_t StatusCode() const { return player_.StatusCode(); }
  gif::TGIFVersion Version() const { return Animation().Version; }
  // The decoded file; no frames while IsEmpty.
  const gif::GifAnimation& Animation() const { return player_.Animation(); }
  int FrameCount() const { return Animation().FrameCount; }
  int LoopCount() const { return Animation().LoopCount; }
  int PictureWidth() const { return Animation().PictureWidth; }
  int PictureHeight() const { return Animation().PictureHeight; }

  bool IsEmpty() const { return player_.IsEmpty(); }
  bool MultiFrame() const { return player_.MultiFrame(); }
  int LoopPass() const { return player_.LoopPass(); }
  bool FirstTick() const { return player_.FirstTick(); }
  // Stretch or StretchRatio, and the control is not the picture's size.
  bool Stretched() const;
  bool Repainting() const { return repainting_; }
  // Whether the control covers all that is behind it (UpdateOpaqueStyle).
  bool DeclaredOpaque() const { return declaredOpaque_; }
  const Surface& Composite() const { return player_.Composite(); }
  // Present only when some frame is transparent: white where transparent.
  const Surface* CompositeMask() const { return player_.CompositeMask(); }
  const TTimerEx& Timer() const { return timer_; }
  // The colour table of the current frame while one is shown; empty
  // otherwise.
  std::span<const gif::RgbQuad> Palette() const;

  // The timer's handler: one step of the animation.
  void TimerTick() { player_.Tick(); }
  // Draws frame CurrentFrame into Composite; undoes frame i before the next
  // one is drawn. Indexes outside 1..FrameCount set StatusCode 5.
  void DrawCurrentFrame() { player_.DrawCurrentFrame(); }
  void DisposeFrame(int i) { player_.DisposeFrame(i); }
  // Where the picture goes, in the control's coordinates.
  tk::Rect GetDestRect() const;
  // The picture (and with Opaque its background) onto a target whose
  // origin is the control's top-left.
  void PaintTo(Canvas& target);
  // A paint request for the control: brings its opaque declaration up to
  // date, paints (target may be null: the toolkit paints later) unless the
  // declaration changed, and switches the timer back on unless the passes
  // are used up.
  void PaintMessage(Canvas* target);
  void UpdateOpaqueStyle();
  // The flicker-free repaint of the picture's rectangle, now.
  void Repaint();

  // The toolkit's paint request: PaintMessage.
  void Paint(Canvas& canvas) override { PaintMessage(&canvas); }
  std::string StateText() const override;

 protected:
  virtual void DoChanging();
  virtual void DoChange();

 private:
  // The player's timer is the control's.
  class TimerLink final : public FrameTimer {
   public:
    explicit TimerLink(TTimerEx& timer) : timer_(timer) {}
    void SetInterval(std::uint32_t milliseconds) override { timer_.SetInterval(milliseconds); }
    void SetEnabled(bool enabled) override { timer_.SetEnabled(enabled); }

   private:
    TTimerEx& timer_;
  };

  // After a decoded picture went to the player: frame 1 drawn, the events.
  void ShowLoadedPicture();
  void SetDrawFlag(bool& flag, bool value);
  // The control's client rectangle.
  tk::Rect ClientRect() const { return {0, 0, Bounds().width, Bounds().height}; }
  // Tells the peer the picture must be drawn again (the toolkit's
  // invalidation).
  void Invalidate() { Changed(tk::Change::Repaint); }
  // Has the form realise the picture's colours.
  void AskForPalette(bool onlyWhenFocused) {
    if (tk::ControlPeer* peer = Peer()) peer->AskForPalette(onlyWhenFocused);
  }

  TTimerEx timer_;
  TimerLink timerLink_{timer_};
  GifPlayer player_{timerLink_};
  std::vector<std::uint8_t> data_;
  std::unique_ptr<gif::GifBitmap> firstFrameBitmap_;

  bool autoSize_ = false;
  bool center_ = false;
  bool doubleBuffered_ = true;
  bool firstImageOnly_ = false;
  bool opaque_ = false;
  bool stretch_ = false;
  bool stretchRatio_ = false;
  bool tile_ = false;
  bool pictureVisible_ = true;
  tk::Color color_ = tk::ClWindow;

  bool repainting_ = false;
  bool declaredOpaque_ = false;
};

}  // namespace tessavo::gifanim
