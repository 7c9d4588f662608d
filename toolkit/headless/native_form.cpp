#include "toolkit/native_form.h"

namespace tessavo::tk {

// No windows here: the peers' records are all there is to see.
void* NativeApplicationWindow() { return nullptr; }
void* NativeWindow(const Form&) { return nullptr; }
void RepaintFormNow(const Form&, Rect, bool, bool) {}

}  // namespace tessavo::tk
