#pragma once

#include <string>

#include "base/dialogs.h"

namespace quorvane {

struct CommandContext;
struct MainControls;

// The file choice of the tidy table, proposing the day's file name with "_table.csv".
FileDialogRequest tableSaveRequest(const MainControls& controls);

// btnExportTable: choose the file, then exportTableFile.
void createTableFile(CommandContext& context);
// The tidy table of the selected stations of lstSta over the selected range, at the interval in
// force and the road tab's vehicle length, or a refusal.
void exportTableFile(CommandContext& context, const std::string& path);

}  // namespace quorvane
