#include "ui/log_window.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/qt_dialogs.h"

namespace quorvane {

LogWindow::LogWindow(QWidget* owner) : QWidget(owner, Qt::Window), Text1(new QPlainTextEdit) {
    setObjectName(QStringLiteral("frmLog"));
    setWindowTitle(QStringLiteral("Log Information"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleDescription(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);  // long lines scroll sideways
    Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    resize(534, 320);
}

void LogWindow::showLog(std::string_view logText) {
    Text1->setPlainText(qtText(logText));
    show();
    raise();
    activateWindow();
}

}  // namespace quorvane
