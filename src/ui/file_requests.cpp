#include "ui/file_requests.h"

#include <utility>

namespace quorvane {

namespace {

constexpr const char* kStationFilter = "All files (*.*)|*.*|*.station files|*.station";

}  // namespace

FileDialogRequest archiveOpenRequest() {
    return {.save = false,
            .filter = "All files (*.*)|*.*|*.traffic files|*.traffic",
            .filterIndex = 2,
            .defaultExt = "traffic",
            .flags = kFlagsOpen,
            .title = "Select a *.traffic file",
            .proposedName = ""};
}

FileDialogRequest stationOpenRequest(std::string proposedName) {
    return {.save = false,
            .filter = kStationFilter,
            .filterIndex = 2,
            .defaultExt = "station",
            // The save dialog's flags, except that a file only read may be read-only.
            .flags = kFlagsSave & ~kNoReadOnlyReturn,
            .title = "Select a *.station file",
            .proposedName = std::move(proposedName)};
}

FileDialogRequest stationSaveRequest(std::string proposedName) {
    return {.save = true,
            .filter = kStationFilter,
            .filterIndex = 2,
            .defaultExt = "station",
            .flags = kFlagsSave,
            .title = "Select the output *.station file",
            .proposedName = std::move(proposedName)};
}

FileDialogRequest csvSaveRequest(std::string proposedName) {
    return {.save = true,
            .filter = "All files (*.*)|*.*|*.csv files|*.csv",
            .filterIndex = 2,
            .defaultExt = "csv",
            .flags = kFlagsSave,
            .title = "Select the output *.csv file",
            .proposedName = std::move(proposedName)};
}

FileDialogRequest daysFolderRequest(std::string proposedFolder) {
    return {.save = false,
            .folder = true,
            .filter = "",
            .filterIndex = 1,
            .defaultExt = "",
            .flags = kFlagsOpen & ~kFileMustExist,
            .title = "Select the folder of the days (*.traffic and *.station files)",
            .proposedName = std::move(proposedFolder)};
}

}  // namespace quorvane
