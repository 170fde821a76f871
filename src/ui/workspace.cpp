#include "ui/workspace.h"

#include <QCoreApplication>

namespace quorvane {

void letEventsRun(const Workspace& workspace) {
    QCoreApplication::processEvents();
    if (workspace.closing) {
        throw ProgramClosing{};
    }
}

}  // namespace quorvane
