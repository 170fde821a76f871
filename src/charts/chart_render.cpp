#include "charts/chart_render.h"

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>

#include <QPainter>
#include <QString>
#include <algorithm>
#include <cctype>
#include <system_error>

#include "base/error.h"
#include "charts/chart.h"

namespace quorvane {

namespace {

constexpr int kDotsPerInch = 96;

QSizeF millimetres(QSize pixels) {
    return QSizeF(pixels.width() * 25.4 / kDotsPerInch, pixels.height() * 25.4 / kDotsPerInch);
}

}  // namespace

std::string imageTypeOf(const std::filesystem::path& path) {
    std::string suffix = path.extension().string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (suffix != ".png" && suffix != ".svg" && suffix != ".pdf") {
        return {};
    }
    return suffix.substr(1);
}

void saveChartImage(Chart& chart, const std::filesystem::path& path, QSize size) {
    const std::string type = imageTypeOf(path);
    if (type.empty()) {
        throw Error(errc::kInvalidArgument,
                    "Unknown image type: " + path.string() + " (use .png, .svg or .pdf).");
    }
    if (size.width() <= 0 || size.height() <= 0) {
        throw Error(errc::kInvalidArgument, "Image size must be positive: " + path.string() + ".");
    }
    chart.replot();
    // The renderer reports nothing: write beside the target and look at what arrived.
    std::filesystem::path temporary = path;
    temporary.replace_filename(path.stem().string() + ".partial." + type);
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    QwtPlotRenderer renderer;
    renderer.renderDocument(chart.plot(), QString::fromStdString(temporary.string()),
                            QString::fromStdString(type), millimetres(size), kDotsPerInch);
    std::error_code status;
    const auto bytes = std::filesystem::file_size(temporary, status);
    if (status || bytes == 0) {
        std::filesystem::remove(temporary, ignored);
        throw Error(errc::kPathFileAccess,
                    "Unable to write the image file: " + path.string() + ".");
    }
    std::filesystem::rename(temporary, path, status);
    if (status) {
        std::filesystem::remove(temporary, ignored);
        throw Error(errc::kPathFileAccess, "Unable to write the image file: " + path.string() +
                                               " (" + status.message() + ").");
    }
}

QImage renderChartImage(Chart& chart, QSize size) {
    chart.replot();
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QwtPlotRenderer renderer;
    renderer.render(chart.plot(), &painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

}  // namespace quorvane
