#pragma once

namespace quorvane {

// Prepares a program that draws graph windows without a display (the batch command's plot, the
// widget tests): Qt's offscreen platform unless QT_QPA_PLATFORM names another, and that
// platform's remarks about what it cannot do kept off standard error. Call before the
// QApplication is created.
void prepareOffscreenPlatform();

}  // namespace quorvane
