#pragma once

#include <string>

#include "base/dialogs.h"

namespace quorvane {

// The file choices of the program.
FileDialogRequest archiveOpenRequest();                           // the build's archive
FileDialogRequest stationOpenRequest(std::string proposedName);   // loading a station file
FileDialogRequest stationSaveRequest(std::string proposedName);   // saving a station file
FileDialogRequest csvSaveRequest(std::string proposedName);       // the CSV export
FileDialogRequest daysFolderRequest(std::string proposedFolder);  // the folder of many days

}  // namespace quorvane
