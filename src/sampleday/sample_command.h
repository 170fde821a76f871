#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace quorvane::sampleday {

inline constexpr std::string_view kSampleUsage =
    "DIR [--stations N] [--seed S] [--days N]\n"
    "    writes DIR/sample.traffic, DIR/VURSta2Det.list, DIR/VURRoad2Sta.list and\n"
    "    DIR/VURStaPos.list: a day of N stations (default 60, at most 5000); the same seed gives\n"
    "    the same bytes. --days N (1 to 31) writes DIR/day01.traffic .. instead: N days on the\n"
    "    same roads, each with traffic of its own\n";

// The sample command's arguments (after "quorvane-cli sample", or of quorvane-sample; `program`
// is that prefix in messages): exit 0 done, 1 an error (its "Error No: ..." line on `err`),
// 2 a usage error (the usage text on `err`). --help or -h prints the usage text on `out`, exit 0.
int runSampleCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
                     std::string_view program);

}  // namespace quorvane::sampleday
