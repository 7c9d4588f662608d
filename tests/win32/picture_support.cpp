// Real windows: the peers are native and show what they were told.
#include "tests/gif_image_support.h"
#include "toolkit/application.h"

namespace tessavo::gifanim::testing {

void ResetPlatform() { tk::App().Reset(); }

void ExpectPeersTold(const tk::Form& /*form*/) {}

}  // namespace tessavo::gifanim::testing
