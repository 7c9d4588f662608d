// A check for headless tests: every control of a form told its peer about
// every change of its state (on Windows an untold change leaves the screen
// showing something else).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::testing {

inline void ExpectPeersTold(const tk::Form& form) {
  for (const std::string& problem : tk::headless::UnreportedChanges(form)) {
    ADD_FAILURE() << form.Caption() << ": " << problem;
  }
}

}  // namespace tessavo::testing
