// The creation arguments of a plain label, as every window writes them:
// the caption at a place, sized to it, or in a rectangle of its own.
#pragma once

#include <string>
#include <utility>

#include "toolkit/controls.h"

namespace tessavo::tk {

inline Label::CreateArgs LabelAt(int left, int top, std::string caption) {
  return {.bounds = {left, top, 0, 0}, .caption = std::move(caption)};
}

inline Label::CreateArgs LabelIn(Rect bounds, std::string caption) {
  return {.bounds = bounds, .caption = std::move(caption)};
}

}  // namespace tessavo::tk
