#pragma once

#include <QString>
#include <string>

class QMimeData;

namespace quorvane {

struct CommandContext;
class MainWindow;

// A day file named on the command line or dropped on the main window: a ".traffic" archive is
// built and a ".station" file loaded exactly as their buttons do, with the options as they
// stand, only without the open dialog; any other name is told apart by its first bytes. While
// that button's own command runs (the button is unavailable) nothing happens, as for a click.
void openDataFile(CommandContext& context, const std::string& path);

// The first local ".traffic" or ".station" file among dropped URLs, or an empty string.
QString droppedDataFile(const QMimeData& data);

// `window` opens `file` once the event loop runs, so that its messages appear over the shown
// window. An empty name opens nothing.
void openOnceRunning(MainWindow& window, const QString& file);

}  // namespace quorvane
