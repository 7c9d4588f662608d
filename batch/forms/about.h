// The batch generator's about window: the shared about window with this
// program's class and name label.
#pragma once

#include "shared_forms/about_window.h"

namespace tessavo::batch {

class TDlgAbout : public AboutWindow {
 public:
  explicit TDlgAbout(tk::Form* owner)
      : AboutWindow(owner, {.formName = "DlgAbout", .nameLabel = "Quillorn 1.01", .nameWidth = 186}) {}
};

}  // namespace tessavo::batch
