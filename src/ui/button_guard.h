#pragma once

#include <QPointer>
#include <QWidget>

namespace quorvane {

// A command disables its own button while it runs and gives it back whatever happens. The
// button's own earlier state is restored (not the state its tab lends it), so a command that
// runs inside another one that holds the same button leaves it to the outer one.
class ButtonGuard {
  public:
    explicit ButtonGuard(QWidget* button)
        : button_(button), wasDisabled_(button->testAttribute(Qt::WA_ForceDisabled)) {
        button->setEnabled(false);
    }
    ~ButtonGuard() { release(); }
    ButtonGuard(const ButtonGuard&) = delete;
    ButtonGuard& operator=(const ButtonGuard&) = delete;

    // Gives the button back early (before an error report, for example).
    void release() {
        if (button_ != nullptr) {
            button_->setEnabled(!wasDisabled_);
            button_ = nullptr;
        }
    }

  private:
    QPointer<QWidget> button_;
    bool wasDisabled_;
};

}  // namespace quorvane
