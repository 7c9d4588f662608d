#include "gifanim/gif_frame.h"

namespace tessavo::gif {

TGIFFrame::~TGIFFrame() {
  // The release order is part of the frame's contract with the control that
  // owns the bitmaps' platform copies.
  Mask.reset();
  SavedMask.reset();
  SavedImage.reset();
  if (OwnsPalette) ownPalette_.reset();
  Palette = nullptr;
  Image = GifBitmap();
}

GifPalette& TGIFFrame::AdoptOwnPalette() {
  ownPalette_ = std::make_unique<GifPalette>();
  OwnsPalette = true;
  Palette = ownPalette_.get();
  return *ownPalette_;
}

void TGIFFrame::UseSharedPalette(const GifPalette& palette) {
  ownPalette_.reset();
  OwnsPalette = false;
  Palette = &palette;
}

}  // namespace tessavo::gif
