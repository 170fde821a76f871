#include "sampleday/sample_command.h"
#include "cli/commands.h"

namespace quorvane::cli {

int runSample(std::span<const std::string_view> args, CliContext& context) {
    return sampleday::runSampleCommand(args, context.out, context.err, "quorvane-cli sample");
}

}  // namespace quorvane::cli
