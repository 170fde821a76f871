#pragma once

#include <memory>

class QApplication;

namespace quorvane::cli {

// The Qt application a command needs to draw graph windows without a display: on the offscreen
// platform unless QT_QPA_PLATFORM names another, with the platform's chatter about what it
// cannot do kept off standard error. One at a time.
class HeadlessApplication {
  public:
    HeadlessApplication();
    ~HeadlessApplication();
    HeadlessApplication(const HeadlessApplication&) = delete;
    HeadlessApplication& operator=(const HeadlessApplication&) = delete;

  private:
    int argc_ = 1;
    char name_[13] = "quorvane-cli";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

}  // namespace quorvane::cli
