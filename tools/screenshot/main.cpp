// quorvane-screenshot DAY.traffic OUT.png: the main window after it opened DAY (as
// `quorvane DAY.traffic` does), on the road tab, grabbed on the offscreen platform. Makes the
// README's picture of the window (tools/screenshots.sh).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
#include <cstdio>
#include <string>

#include "core/error.h"
#include "roadgraphs/offscreen_platform.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace {

// Nobody answers: a message is passed on to standard error, a file choice cancelled.
class NoticeDialogs : public quorvane::Dialogs {
  public:
    void message(quorvane::MessageIcon, std::string_view text) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    std::string chooseFile(const quorvane::FileDialogRequest&) override {
        throw quorvane::Error(quorvane::errc::kCancelled,
                              std::string(quorvane::kCancelDescription));
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: quorvane-screenshot DAY.traffic OUT.png\n", stderr);
        return 2;
    }
    quorvane::prepareOffscreenPlatform();
    QApplication app(argc, argv);
    NoticeDialogs dialogs;
    quorvane::MainWindow window(dialogs,
                                quorvane::Environment{quorvane::programEnvironment().listDirectory,
                                                      QDir::tempPath().toStdString()});
    window.show();
    window.openFile(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    if (window.workspace().day == nullptr) {
        return 1;
    }
    quorvane::MainControls& c = window.controls();
    c.SSTab1->setCurrentIndex(quorvane::kRoadTab);
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
