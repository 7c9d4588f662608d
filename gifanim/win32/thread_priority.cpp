#include <windows.h>

#include <pthread.h>

#include "gifanim/thread_priority.h"

namespace tessavo::gifanim {
namespace {

// The standard library's threads here are the POSIX layer's; it keeps the
// Win32 handle of each.
HANDLE HandleOf(std::jthread& thread) {
  return static_cast<HANDLE>(pthread_gethandle(thread.native_handle()));
}

}  // namespace

void SetThreadLevel(std::jthread& thread, int level) {
  SetThreadPriority(HandleOf(thread), level);
}

int ThreadLevel(std::jthread& thread) { return GetThreadPriority(HandleOf(thread)); }

}  // namespace tessavo::gifanim
