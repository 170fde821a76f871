#include "ui/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "base/error.h"
#include "base/text.h"

namespace quorvane {

QString qtText(std::string_view text) {
    const std::string lines = lfLineEnds(text);
    return QString::fromUtf8(lines.data(), static_cast<int>(lines.size()));
}

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QString applicationTitle() {
    return qtText(kApplicationTitle);
}

// A file that may not be returned: it exists but cannot be written.
bool isReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isWritable();
}

// "PNG image (*.png)" -> "png"; empty for a filter of several or all files.
QString filterSuffix(const QString& filter) {
    const int open = filter.lastIndexOf(QLatin1Char('('));
    const int close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open) {
        return {};
    }
    const QString pattern = filter.mid(open + 1, close - open - 1).trimmed();
    if (!pattern.startsWith(QLatin1String("*.")) || pattern.contains(QLatin1Char(' ')) ||
        pattern.contains(QLatin1Char(';')) || pattern == QLatin1String("*.*")) {
        return {};
    }
    return pattern.mid(2);
}

}  // namespace

QStringList qtNameFilters(std::string_view filter) {
    const QStringList parts = qtText(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i].trimmed();
        QString pattern = parts[i + 1].trimmed();
        if (pattern == QLatin1String("*.*")) {
            pattern = QStringLiteral("*");
        }
        // The display text may already name its pattern, "All files (*.*)": Qt reads the
        // patterns from the last parentheses, so give it the ones it is to use.
        if (text.endsWith(QLatin1Char(')')) && text.contains(QLatin1Char('('))) {
            text = text.left(text.lastIndexOf(QLatin1Char('('))).trimmed();
        }
        filters.append(QStringLiteral("%1 (%2)").arg(text, pattern));
    }
    return filters;
}

void QtDialogs::message(MessageIcon icon, std::string_view text) {
    QMessageBox box(qtIcon(icon), applicationTitle(), qtText(text), QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

std::string QtDialogs::chooseFile(const FileDialogRequest& request) {
    QFileDialog dialog(parent_, qtText(request.title));
    dialog.setObjectName(QStringLiteral("comDlg"));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.folder                          ? QFileDialog::Directory
                       : (request.flags & kFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                               : QFileDialog::AnyFile);
    QFileDialog::Options options;
    if (request.folder) {
        options |= QFileDialog::ShowDirsOnly;
    }
    if ((request.flags & kOverwritePrompt) == 0) {
        options |= QFileDialog::DontConfirmOverwrite;
    }
    dialog.setOptions(options);
    const QStringList filters = request.folder ? QStringList() : qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    }
    // A name typed without an extension takes that of the chosen file type, or the default.
    const QString defaultSuffix = qtText(request.defaultExt);
    dialog.setDefaultSuffix(defaultSuffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, defaultSuffix](const QString& filter) {
                         const QString suffix = filterSuffix(filter);
                         dialog.setDefaultSuffix(suffix.isEmpty() ? defaultSuffix : suffix);
                     });
    if (!request.proposedName.empty()) {
        dialog.selectFile(qtText(request.proposedName));
    }

    while (true) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            throw Error(errc::kCancelled, std::string(kCancelDescription));
        }
        const QString chosen = dialog.selectedFiles().constFirst();
        if ((request.flags & kNoReadOnlyReturn) != 0 && isReadOnlyFile(chosen)) {
            QMessageBox::warning(&dialog, applicationTitle(),
                                 QStringLiteral("%1\nThis file is write-protected. "
                                                "Choose another file.")
                                     .arg(chosen));
            continue;
        }
        if ((request.flags & kPathMustExist) != 0 && !QFileInfo(chosen).dir().exists()) {
            QMessageBox::warning(&dialog, applicationTitle(),
                                 QStringLiteral("%1\nThe folder does not exist. "
                                                "Check the path.")
                                     .arg(chosen));
            continue;
        }
        return chosen.toStdString();
    }
}

}  // namespace quorvane
