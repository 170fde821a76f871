#pragma once

#include <string>
#include <string_view>

namespace quorvane {

struct CommandContext;

inline constexpr std::string_view kBuildDoneMessage =
    "Station data table has been successfully created. "
    "It is now ready for plot and other functions.";
inline constexpr std::string_view kDefinitionFilesHint =
    "Check if the Road and Station definition files exist.";
inline constexpr std::string_view kNothingToSaveMessage = "Nothing to save.";
inline constexpr std::string_view kSavingDoneMessage = "Saving Done.";
inline constexpr std::string_view kLoadDoneMessage = "Done.";
inline constexpr std::string_view kSelectStationsMessage =
    "You must first select the desired stations.";

// The commands of the main window's buttons. Each disables its own button while it runs and
// enables it again however it ends; each reports through the context's dialogs.

// btnBuildStationData: choose an archive, build the day, put it in force with its interval
// table. A failure leaves the day, lists, labels and tabs as they were.
void buildStationData(CommandContext& context);
// The build of `archive` exactly as the button builds it, without the open dialog.
void buildStationDataFrom(CommandContext& context, const std::string& archive);
// btnSave: the day in force to a ".station" file.
void saveStationData(CommandContext& context);
// btnLoad: a ".station" file as the new day. A failure leaves the day in force as it was.
void loadStationData(CommandContext& context);
// The load of `path` exactly as the button loads it, without the open dialog.
void loadStationDataFrom(CommandContext& context, const std::string& path);
// btnShowlLog: frmLog with a copy of the log.
void showLog(CommandContext& context);
// ShutDown (btnExit, closing the main window): writes "Log.txt", closes every other window.
// The caller closes the main window.
void shutDown(CommandContext& context);

// btnReCompute: the day in force at the interval selected now.
void recomputeData(CommandContext& context);
// btnVolSum: the volume sum of the selected station and range into txtVolSum.
void showVolumeSum(CommandContext& context);

// The road choice of cmbRoadList: lstN and lstSta show the chosen road's stations.
void chooseRoad(CommandContext& context);
// btnCSVfile: choose the file, then exportCsv.
void createCsvFile(CommandContext& context);
// ExportCsv: the selected stations of lstSta over the selected range, or a refusal.
void exportCsv(CommandContext& context, const std::string& path);

// The error message of the build and load commands: "Error No: ..." and the hint.
std::string buildErrorMessage(const std::string& errorLine);

}  // namespace quorvane
