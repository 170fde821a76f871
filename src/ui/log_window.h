#pragma once

#include <QWidget>
#include <string_view>

class QPlainTextEdit;

namespace quorvane {

// frmLog: a copy of the log as it stood at the last "Show Log", filling the whole window.
class LogWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LogWindow(QWidget* owner);

    // Replaces the text with `logText` and shows the window, or brings it forward.
    void showLog(std::string_view logText);

    QPlainTextEdit* Text1;
};

}  // namespace quorvane
