#include "toolkit/native.h"

#include "toolkit/headless_scripting.h"

namespace tessavo::tk {

// No windows here: the peers' records are all there is to see.
void* NativeApplicationWindow() { return nullptr; }
void* NativeWindow(const Form&) { return nullptr; }
int NativeDpi(const Form&) { return kDesignDpi; }
void* NativeFont(const Font&, int) { return nullptr; }
int NativeBeepCount() { return headless::BeepCount(); }

}  // namespace tessavo::tk
