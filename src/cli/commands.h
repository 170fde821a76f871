#pragma once

#include <span>
#include <string_view>

#include "cli/command.h"

namespace quorvane::cli {

inline constexpr std::string_view kBuildSynopsis =
    "build ARCHIVE [-o OUT.station] [--lists DIR] [--worst] [--zip-info] [--log FILE]";
int runBuild(std::span<const std::string_view> args, CliContext& context);

inline constexpr std::string_view kExportSynopsis =
    "export INPUT -o OUT.csv (--stations N[,N...] | --road NAME) [--interval TEXT]\n"
    "                      [--from HH:MM:SS] [--to HH:MM:SS] [--lists DIR] [--worst] [--log FILE]";
int runExport(std::span<const std::string_view> args, CliContext& context);

inline constexpr std::string_view kTableSynopsis =
    "table INPUT -o OUT.csv (--stations N[,N...] | --road NAME) [--interval TEXT]\n"
    "                     [--from HH:MM:SS] [--to HH:MM:SS] [--lists DIR] [--worst]\n"
    "                     [--vehicle-length METRES] [--free-flow-speed KMH] [--log FILE]";
int runTable(std::span<const std::string_view> args, CliContext& context);

inline constexpr std::string_view kMeasuresSynopsis =
    "measures INPUT --road NAME -o OUT.csv [--interval TEXT] [--from HH:MM:SS]\n"
    "                        [--to HH:MM:SS] [--threshold KMH] [--vehicle-length METRES]\n"
    "                        [--free-flow-speed KMH] [--lists DIR] [--worst] [--log FILE]";
int runMeasures(std::span<const std::string_view> args, CliContext& context);

// With --rank, DAYS... instead of INPUT.
inline constexpr std::string_view kBottlenecksSynopsis =
    "bottlenecks (INPUT | DAYS... --rank) [--road NAME] [-o OUT.csv]\n"
    "                           [--vehicle-length METRES] [--free-flow-speed KMH]\n"
    "                           [--threshold KMH] [--lists DIR] [--log FILE]";
int runBottlenecks(std::span<const std::string_view> args, CliContext& context);

inline constexpr std::string_view kSumSynopsis =
    "sum INPUT --station N [--interval TEXT] [--from HH:MM:SS] [--to HH:MM:SS]\n"
    "                   [--lists DIR] [--worst] [--log FILE]";
int runSum(std::span<const std::string_view> args, CliContext& context);

// Built only with the GUI (Qt and the chart layer): command_table.cpp lists it then.
inline constexpr std::string_view kPlotSynopsis =
    "plot INPUT -o OUT.(png|svg|pdf) --kind KIND (--station N | --road NAME)\n"
    "                    [--interval TEXT] [--from HH:MM:SS] [--to HH:MM:SS] [--lists DIR]\n"
    "                    [--worst] [--size WxH] [--unit km/h|mph] [--vehicle-length METRES]\n"
    "                    [--free-flow-speed SPEED] [--log FILE]";
int runPlot(std::span<const std::string_view> args, CliContext& context);

inline constexpr std::string_view kHealthSynopsis =
    "health ARCHIVE [-o OUT.csv] [--free-flow-speed KMH] [--lists DIR] [--log FILE]";
int runHealth(std::span<const std::string_view> args, CliContext& context);

inline constexpr std::string_view kTypicalSynopsis =
    "typical DAYS... -o OUT.csv [--road NAME | --stations N[,N...]] [--lists DIR]\n"
    "                       [--vehicle-length METRES] [--free-flow-speed KMH] [--log FILE]";
int runTypical(std::span<const std::string_view> args, CliContext& context);

inline constexpr std::string_view kReliabilitySynopsis =
    "reliability DAYS... --road NAME -o OUT.csv [--lists DIR]\n"
    "                           [--vehicle-length METRES] [--free-flow-speed KMH] [--log FILE]";
int runReliability(std::span<const std::string_view> args, CliContext& context);

inline constexpr std::string_view kInfoSynopsis = "info ARCHIVE";
int runInfo(std::span<const std::string_view> args, CliContext& context);

inline constexpr std::string_view kSampleSynopsis =
    "sample DIR [--stations N] [--seed S] [--days N]";
int runSample(std::span<const std::string_view> args, CliContext& context);

}  // namespace quorvane::cli
