#pragma once

#include <QImage>
#include <QSize>
#include <filesystem>
#include <string>

namespace quorvane {

class Chart;

// The image types a chart is saved as, by the suffix of the file name (any case): "png", "svg"
// or "pdf"; empty for any other suffix.
std::string imageTypeOf(const std::filesystem::path& path);

// Writes the chart, drawn at `size` pixels (96 dots per inch), to `path`; the suffix picks the
// format: .png, .svg or .pdf. The file is written under a temporary name and put in place only
// when it exists and is not empty. Throws Error (75) naming the file when it cannot be written,
// Error (5) for another suffix.
void saveChartImage(Chart& chart, const std::filesystem::path& path, QSize size);

// The chart drawn into an image of `size` pixels, as the PNG file would hold it.
QImage renderChartImage(Chart& chart, QSize size);

}  // namespace quorvane
