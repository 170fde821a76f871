#include <gtest/gtest.h>

#include <QApplication>

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

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says at every show that it cannot propagate size hints; nothing else.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) {
        return;
    }
    defaultHandler(type, context, message);
}

}  // namespace

// Widget tests need a QApplication; without a display they draw on the offscreen platform.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
