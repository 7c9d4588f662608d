#include "tests/peer_check.h"
#include "tests/gif_image_support.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::gifanim::testing {

void ResetPlatform() { tk::headless::Reset(); }

void ExpectPeersTold(const tk::Form& form) { tessavo::testing::ExpectPeersTold(form); }

}  // namespace tessavo::gifanim::testing
