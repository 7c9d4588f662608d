// Hooks into the headless platform (common/platform.h) for tests and for
// anything else that runs the programs without a screen: what message boxes
// were shown, which buttons they answer with, and the Windows directory.
#pragma once

#include <string>
#include <vector>

namespace tessavo::headless {

struct ShownMessageBox {
  std::string text;
  std::string title;
  unsigned flags = 0;
  int answer = 0;  // the button the box was closed with
};

// Every box shown since the last ClearMessageBoxes, oldest first.
std::vector<ShownMessageBox> ShownMessageBoxes();
void ClearMessageBoxes();

// Answers for the next boxes, used once each in order. When none is queued
// a box is closed with its default button, as pressing Enter would (OK for
// the error box).
void QueueMessageBoxAnswer(int answer);

// The directory that SystemWindowsDirectory reports; empty by default,
// since a headless run has no Windows directory.
void SetSystemWindowsDirectory(std::string directory);

// Back to the start state: no boxes recorded, no answers queued, no
// Windows directory.
void ResetPlatform();

}  // namespace tessavo::headless
