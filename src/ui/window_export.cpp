#include "ui/window_export.h"

#include <QLineEdit>
#include <cctype>
#include <filesystem>

#include "base/dialogs.h"
#include "base/error.h"
#include "ui/file_requests.h"
#include "ui/main_controls.h"
#include "views/csv_export.h"

namespace quorvane {

std::string proposedRoadFile(const MainControls& controls, const std::string& road,
                             const std::string& suffix) {
    std::filesystem::path day = controls.txtZipName->text().toStdString();
    if (day.empty()) {
        day = controls.txtBinFile->text().toStdString();
    }
    std::string name = road;
    for (char& ch : name) {
        const bool plain = std::isalnum(static_cast<unsigned char>(ch)) || ch == '-' || ch == '.';
        ch = plain ? ch : '_';
    }
    const std::string file =
        (day.empty() ? std::string() : day.stem().string() + "_") + name + suffix;
    return day.empty() ? file : day.replace_filename(file).string();
}

void exportCsvThroughDialogs(
    Dialogs& dialogs, const std::string& proposedCsv,
    const std::function<std::optional<Refusal>(const std::string& path)>& write) {
    std::string path;
    try {
        path = dialogs.chooseFile(csvSaveRequest(proposedCsv));
    } catch (const Error&) {
        return;  // a cancelled dialog ends the command silently
    }
    try {
        if (const auto refusal = write(path)) {
            dialogs.message(MessageIcon::Exclamation, refusal->message);
            return;
        }
    } catch (const std::exception& failure) {
        dialogs.message(MessageIcon::Critical, errorLine(reportedError(failure)));
        return;
    }
    dialogs.message(MessageIcon::Information, kCsvSavedMessage);
}

}  // namespace quorvane
