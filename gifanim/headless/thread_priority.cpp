// Without a window system the level is only recorded, per thread, so that
// tests see what a worker was given.
#include <map>
#include <mutex>

#include "gifanim/thread_priority.h"

namespace tessavo::gifanim {
namespace {

std::mutex levelsMutex;
std::map<std::thread::id, int> levels;

}  // namespace

void SetThreadLevel(std::jthread& thread, int level) {
  std::lock_guard lock(levelsMutex);
  levels[thread.get_id()] = level;
}

int ThreadLevel(std::jthread& thread) {
  std::lock_guard lock(levelsMutex);
  const auto it = levels.find(thread.get_id());
  return it == levels.end() ? 0 : it->second;
}

}  // namespace tessavo::gifanim
