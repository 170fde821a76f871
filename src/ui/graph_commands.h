#pragma once

#include "charts/open_graph.h"

class QWidget;

namespace quorvane {

struct CommandContext;
struct MainControls;

// A graph button's click: the button disabled while the graph of `kind` opens for what the
// main window's lists select, on the day and interval table in force (both pointers copied
// once). The graph shows its own refusals; an error ends it with the error message box.
void openGraphWindow(CommandContext& context, GraphKind kind, QWidget* button);

// What a graph reads of the main window's lists when it starts. The interval text is read
// when the graph asks for it (after its fill), from the list as it then stands.
GraphSelection readGraphSelection(const MainControls& controls);

}  // namespace quorvane
