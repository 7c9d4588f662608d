// Peers are chosen when the program is linked: toolkit/win32/ makes native
// windows, toolkit/headless/ makes none.
#pragma once

#include <memory>

#include "toolkit/form.h"

namespace tessavo::tk {

// The native window of a form, or nullptr where there is no window system.
std::unique_ptr<FormPeer> CreateFormPeer(Form& form);

}  // namespace tessavo::tk
