#include "cli/headless_application.h"

#include <QApplication>
#include <clocale>

// Under LeakSanitizer: the offscreen platform of Qt 5.15 never frees its screen objects when the
// application ends; those allocations are reached through Qt's frames only. A window or chart of
// ours that leaked still shows, as the direct leak of the object our code allocated.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libqoffscreen.so\n"
           "leak:QPlatformScreen::QPlatformScreen\n"
           "leak:QScreen::QScreen\n"
           "leak:QWindowSystemInterface::handleScreenAdded\n"
           "leak:QtSharedPointer::ExternalRefCountData::getAndRef\n"
           "leak:QObject::QObject\n";
}
// ... and says nothing of them on standard error, which belongs to the command's messages.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

namespace quorvane::cli {

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says at every show of a window that it cannot propagate size hints, and
// Qt that it picked a runtime folder of its own when XDG_RUNTIME_DIR is not set (as under cron
// or a service account); neither concerns the image.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints")) ||
        message.contains(QLatin1String("XDG_RUNTIME_DIR"))) {
        return;
    }
    defaultHandler(type, context, message);
}

}  // namespace

HeadlessApplication::HeadlessApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    defaultHandler = qInstallMessageHandler(quietHandler);
    application_ = std::make_unique<QApplication>(argc_, argv_);
    // QApplication takes the C locale from the environment; the engine's number formatting
    // and parsing stay those of the C locale, as in every other command.
    std::setlocale(LC_NUMERIC, "C");
}

HeadlessApplication::~HeadlessApplication() {
    application_.reset();
    qInstallMessageHandler(defaultHandler);
}

}  // namespace quorvane::cli
