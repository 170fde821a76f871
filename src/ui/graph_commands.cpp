#include "ui/graph_commands.h"

#include "ui/button_guard.h"
#include "ui/command_context.h"

namespace quorvane {

void runGraphCommand(CommandContext& context, GraphKind kind, QWidget* button,
                     const GraphCommand& command) {
    ButtonGuard guard(button);
    if (!command) {
        return;
    }
    try {
        command(kind, context);
    } catch (const ProgramClosing&) {
    } catch (const std::exception& failure) {
        guard.release();
        context.dialogs.message(MessageIcon::Critical, errorLine(reportedError(failure)));
    }
}

}  // namespace quorvane
