// Headless platform: the Windows directory is whatever the host set.
#include <mutex>
#include <string>
#include <utility>

#include "common/platform.h"
#include "common/stand_in.h"

namespace tessavo {
namespace {

struct HeadlessState {
  std::mutex mutex;
  std::string windowsDirectory;
};

HeadlessState& State() {
  static HeadlessState state;
  return state;
}

}  // namespace

namespace platform {

std::string SystemWindowsDirectory() {
  HeadlessState& state = State();
  std::lock_guard lock(state.mutex);
  return state.windowsDirectory;
}

}  // namespace platform

namespace stand_in {

void SetSystemWindowsDirectory(std::string directory) {
  HeadlessState& state = State();
  std::lock_guard lock(state.mutex);
  state.windowsDirectory = std::move(directory);
}

void ResetPlatform() { SetSystemWindowsDirectory({}); }

}  // namespace stand_in
}  // namespace tessavo
