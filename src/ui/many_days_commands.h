#pragma once

namespace quorvane {

struct CommandContext;

// btnDays: choose a folder and build every day in it, a day on each core, the progress bar
// counting days; the set replaces the one in force once every day is done, those left out listed
// with their errors, the roads of the days offered.
void chooseDays(CommandContext& context);

// btnTypicalGrid: the typical speed colour grid of the chosen road, in the road tab's unit.
void showTypicalGrid(CommandContext& context);
// btnDifferenceGrid: the day in force against the typical day on the chosen road, with the
// road tab's speed settings.
void showDifferenceGrid(CommandContext& context);
// btnReliability: the travel-time reliability of the chosen road over the days, in a window
// with its graph and the batch command's file.
void showReliability(CommandContext& context);
// btnRanking: every bottleneck of the days ranked, in a window with the batch command's file.
void showRanking(CommandContext& context);
// btnExportTypical: the typical day of the chosen road's stations as `quorvane-cli typical
// --road` writes it.
void exportTypical(CommandContext& context);

}  // namespace quorvane
