// The single generator's about window: the shared about window with this
// program's class, name label and icon (the gold padlock, MAINICON).
#pragma once

#include "shared_forms/about_window.h"

namespace tessavo::single {

class TFrmAbout : public AboutWindow {
 public:
  explicit TFrmAbout(tk::Form* owner)
      : AboutWindow(owner, {.formName = "FrmAbout", .nameLabel = "Tessavo 1.02", .nameWidth = 139}) {}
};

}  // namespace tessavo::single
