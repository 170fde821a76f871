#pragma once

#include <QSize>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <vector>

namespace quorvane {

class Chart;

// A graph window: one chart filling the window. It lives on its own from the moment it is
// shown until the user closes it, and is destroyed on close with its data.
class GraphWindow : public QWidget {
    Q_OBJECT

  public:
    // `objectName` names the window kind ("frmGraphL", ...); `innerSize` is its client area.
    GraphWindow(const QString& objectName, const QString& caption, QSize innerSize);

    Chart& chart() const { return *chart_; }

  private:
    Chart* chart_;
};

// Every graph window in existence, shown or still being filled.
std::vector<GraphWindow*> graphWindows();
// ShutDown: closes (and so destroys) every graph window.
void closeGraphWindows();

// Draws the window's chart at `size` pixels into `path` (.png, .svg or .pdf) without showing it;
// throws Error when the file cannot be written (see saveChartImage).
void renderGraphWindow(GraphWindow& window, const std::filesystem::path& path, QSize size);

}  // namespace quorvane
