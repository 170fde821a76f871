#include <array>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "core/unzip.h"

namespace quorvane::cli {

int runInfo(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, std::span<const OptionSpec>{});
    const std::filesystem::path archive(std::string(arguments.onlyPositional("ARCHIVE")));
    return runReportingErrors(context, [&] {
        Unzip reader;
        reader.setZipFileName(archive);
        reader.zipList();
        context.out << reader.memberReport();
        return Outcome{};
    });
}

}  // namespace quorvane::cli
