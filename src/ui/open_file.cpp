#include "ui/open_file.h"

#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "core/day.h"
#include "ui/command_context.h"
#include "ui/commands.h"
#include "ui/main_window.h"

namespace quorvane {

void openDataFile(CommandContext& context, const std::string& path) {
    const bool archive = isArchiveFile(std::filesystem::path(path));
    const QPushButton* button =
        archive ? context.controls.btnBuildStationData : context.controls.btnLoad;
    if (!button->isEnabled()) {
        return;
    }
    if (archive) {
        buildStationDataFrom(context, path);
    } else {
        loadStationDataFrom(context, path);
    }
}

QString droppedDataFile(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        const QString path = url.toLocalFile();
        const QString suffix = QFileInfo(path).suffix();
        if (suffix == QLatin1String("traffic") || suffix == QLatin1String("station")) {
            return path;
        }
    }
    return {};
}

void openOnceRunning(MainWindow& window, const QString& file) {
    if (!file.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, file] { window.openFile(file); });
    }
}

}  // namespace quorvane
