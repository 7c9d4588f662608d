// A thread's priority as the platform sees it: the Windows priority levels
// (-15 idle to 15 time-critical). One small file per platform: win32/ sets
// the real thread's level, headless/ keeps the level it was given.
#pragma once

#include <thread>

namespace tessavo::gifanim {

void SetThreadLevel(std::jthread& thread, int level);
// The level the thread runs at now (0, normal, when never set).
int ThreadLevel(std::jthread& thread);

}  // namespace tessavo::gifanim
