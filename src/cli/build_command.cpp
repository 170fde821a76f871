#include <array>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "core/unzip.h"
#include "definitions/station_file.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::array kBuildOptions{
    OptionSpec{"-o", true}, kListsOption, kWorstOption, OptionSpec{"--zip-info", false}, kLogOption,
};

// ARCHIVE with its final ".traffic" replaced by ".station", or ".station" appended.
fs::path defaultStationFile(const fs::path& archive) {
    fs::path out = archive;
    if (out.extension() == ".traffic") {
        return out.replace_extension(".station");
    }
    out += ".station";
    return out;
}

}  // namespace

int runBuild(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kBuildOptions);
    const fs::path archive(std::string(arguments.onlyPositional("ARCHIVE")));
    const auto out = arguments.value("-o");
    const fs::path stationFile = out ? fs::path(std::string(*out)) : defaultStationFile(archive);

    Log log;
    return runWithLog(arguments, context, log, [&] {
        BuildRequest request{archive, listDirectory(arguments, context, archive, log),
                             std::nullopt};
        if (arguments.flag("--zip-info")) {
            request.zipInfo = fs::path(kZipInfoFileName);  // in the current folder
        }
        const Day day = buildDay(request, log, buildHooks(arguments));
        // The main window re-aggregates at "30 sec" after a build; at that interval every
        // interval volume is a station volume, so it could add nothing to the log.
        writeStationFile(stationFile, day.tables);
        context.out << "Station data of " << day.stations.count() << " stations ("
                    << day.roads.count() << " roads) saved to " << stationFile.string() << "\n";
        return Outcome{};
    });
}

}  // namespace quorvane::cli
