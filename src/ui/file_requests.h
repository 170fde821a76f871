#pragma once

#include <string>

#include "base/dialogs.h"

namespace quorvane {

// The four file choices of the program.
FileDialogRequest archiveOpenRequest();                          // the build's archive
FileDialogRequest stationOpenRequest(std::string proposedName);  // loading a station file
FileDialogRequest stationSaveRequest(std::string proposedName);  // saving a station file
FileDialogRequest csvSaveRequest(std::string proposedName);      // the CSV export

}  // namespace quorvane
