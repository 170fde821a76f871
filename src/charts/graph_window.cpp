#include "charts/graph_window.h"

#include <QApplication>
#include <QVBoxLayout>

#include "charts/chart.h"
#include "charts/chart_render.h"

namespace quorvane {

GraphWindow::GraphWindow(const QString& objectName, const QString& caption, QSize innerSize)
    : chart_(new Chart(this)) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);  // the chart covers the whole client area
    layout->addWidget(chart_);
    resize(innerSize);
}

std::vector<GraphWindow*> graphWindows() {
    std::vector<GraphWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<GraphWindow*>(widget)) {
            windows.push_back(window);
        }
    }
    return windows;
}

void closeGraphWindows() {
    for (GraphWindow* window : graphWindows()) {
        window->close();
    }
}

void renderGraphWindow(GraphWindow& window, const std::filesystem::path& path, QSize size) {
    window.resize(size);
    // Grabbing lays the window out at its new size, shown or not, so the axes space their labels
    // for that size.
    (void)window.grab();
    saveChartImage(window.chart(), path, size);
}

}  // namespace quorvane
