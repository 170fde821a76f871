#pragma once

#include <functional>

class QWidget;

namespace quorvane {

struct CommandContext;

// The six graph buttons of the main window.
enum class GraphKind { Line, Scatter, VolColorGrid, OccColorGrid, VolContour, OccContour };

// Opens one graph window for what the main window's lists select: it reads the day and the
// interval table in force from the context's workspace (copying both pointers once) and the
// selections with selectedIndex (ui/window_lists.h), and shows its own refusals through the
// context's dialogs. Errors it throws are reported with the error message box.
using GraphCommand = std::function<void(GraphKind kind, CommandContext& context)>;

// A graph button's click: the button disabled while `command` runs. Without a command the
// click does nothing.
void runGraphCommand(CommandContext& context, GraphKind kind, QWidget* button,
                     const GraphCommand& command);

}  // namespace quorvane
