#include "charts/offscreen_platform.h"

#include <QString>
#include <QtGlobal>

// Under LeakSanitizer: the offscreen platform of Qt 5.15 never frees its screen objects when the
// application ends; those allocations are reached through Qt's frames only. A window or chart of
// ours that leaked still shows, as the direct leak of the object our code allocated. Defined here
// so that every program that prepares the platform links them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libqoffscreen.so\n"
           "leak:QPlatformScreen::QPlatformScreen\n"
           "leak:QScreen::QScreen\n"
           "leak:QWindowSystemInterface::handleScreenAdded\n"
           "leak:QtSharedPointer::ExternalRefCountData::getAndRef\n"
           "leak:QObject::QObject\n";
}
// ... and says nothing of them on standard error, which belongs to a command's messages.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

namespace quorvane {

namespace {

QtMessageHandler defaultHandler = nullptr;

// At every show the platform says it cannot propagate size hints or size a window natively, and
// Qt that it picked a runtime folder of its own when XDG_RUNTIME_DIR is not set (cron, a service
// account); none of it concerns what is drawn.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints")) ||
        message.contains(QLatin1String("This plugin does not support")) ||
        message.contains(QLatin1String("XDG_RUNTIME_DIR"))) {
        return;
    }
    if (defaultHandler != nullptr) {
        defaultHandler(type, context, message);
    }
}

}  // namespace

void prepareOffscreenPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QtMessageHandler previous = qInstallMessageHandler(quietHandler);
    if (previous != quietHandler) {
        defaultHandler = previous;
    }
}

}  // namespace quorvane
