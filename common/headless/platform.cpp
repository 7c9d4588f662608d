// Headless platform: message boxes are recorded instead of shown and close
// at once; the Windows directory is whatever the host set.
#include <deque>
#include <iterator>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "common/headless/headless_platform.h"
#include "common/platform.h"

namespace tessavo {
namespace {

struct HeadlessState {
  std::mutex mutex;
  std::vector<headless::ShownMessageBox> shown;
  std::deque<int> answers;
  std::string windowsDirectory;
};

HeadlessState& State() {
  static HeadlessState state;
  return state;
}

// The button that Enter would press: the one picked by the default-button
// flag among those the box type shows, or the first when the flag points
// past them.
int DefaultButton(unsigned flags) {
  using namespace platform;
  static constexpr int kButtons[][3] = {
      {IdOk, 0, 0},                    // MB_OK
      {IdOk, IdCancel, 0},             // MB_OKCANCEL
      {IdAbort, IdRetry, IdIgnore},    // MB_ABORTRETRYIGNORE
      {IdYes, IdNo, IdCancel},         // MB_YESNOCANCEL
      {IdYes, IdNo, 0},                // MB_YESNO
      {IdRetry, IdCancel, 0},          // MB_RETRYCANCEL
      {IdCancel, IdTryAgain, IdContinue},  // MB_CANCELTRYCONTINUE
  };
  const unsigned type = flags & MbTypeMask;
  if (type >= std::size(kButtons)) return IdOk;
  const unsigned index = (flags & MbDefButtonMask) >> 8;
  if (index < 3 && kButtons[type][index] != 0) return kButtons[type][index];
  return kButtons[type][0];
}

}  // namespace

namespace platform {

int ShowMessageBox(std::string_view text, std::string_view title, unsigned flags) {
  HeadlessState& state = State();
  std::lock_guard lock(state.mutex);
  int answer = DefaultButton(flags);
  if (!state.answers.empty()) {
    answer = state.answers.front();
    state.answers.pop_front();
  }
  state.shown.push_back({std::string(text), std::string(title), flags, answer});
  return answer;
}

std::string SystemWindowsDirectory() {
  HeadlessState& state = State();
  std::lock_guard lock(state.mutex);
  return state.windowsDirectory;
}

}  // namespace platform

namespace headless {

std::vector<ShownMessageBox> ShownMessageBoxes() {
  HeadlessState& state = State();
  std::lock_guard lock(state.mutex);
  return state.shown;
}

void ClearMessageBoxes() {
  HeadlessState& state = State();
  std::lock_guard lock(state.mutex);
  state.shown.clear();
}

void QueueMessageBoxAnswer(int answer) {
  HeadlessState& state = State();
  std::lock_guard lock(state.mutex);
  state.answers.push_back(answer);
}

void SetSystemWindowsDirectory(std::string directory) {
  HeadlessState& state = State();
  std::lock_guard lock(state.mutex);
  state.windowsDirectory = std::move(directory);
}

void ResetPlatform() {
  HeadlessState& state = State();
  std::lock_guard lock(state.mutex);
  state.shown.clear();
  state.answers.clear();
  state.windowsDirectory.clear();
}

}  // namespace headless
}  // namespace tessavo
