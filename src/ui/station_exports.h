#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "base/dialogs.h"
#include "ui/view_requests.h"

class QPushButton;

namespace quorvane {

struct CommandContext;

// The file an export of the road tab writes: without a current entry of lstSta the user is
// asked to select stations; otherwise the file is chosen through the dialogs (a cancel ends
// silently) and handed to `exportTo`. `button` is disabled meanwhile.
void chooseExportFile(CommandContext& context, QPushButton* button,
                      const FileDialogRequest& request,
                      const std::function<void(const std::string& path)>& exportTo);

// Writes a file of the selected stations of lstSta (their entry texts, in list order) over the
// selected range, from the data in force: `write` returns the refusal, or none once the file is
// written. A refusal shows its message, an error the error box, a written file "Saving done.".
using StationExport = std::function<std::optional<Refusal>(const DataInForce& data,
                                                           std::span<const std::string> labels,
                                                           const RequestSelection& selection)>;
void exportSelectedStations(CommandContext& context, const StationExport& write);

}  // namespace quorvane
