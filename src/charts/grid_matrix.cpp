#include "charts/grid_matrix.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Distinct values, ascending; points come in runs of equal x, so runs are dropped first.
std::vector<double> distinct(std::span<const GridPoint> points, double GridPoint::*field) {
    std::vector<double> values;
    for (const GridPoint& p : points) {
        const double v = p.*field;
        if (std::isfinite(v) && (values.empty() || values.back() != v)) {
            values.push_back(v);
        }
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

int indexOf(const std::vector<double>& sorted, double v) {
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), v);
    return static_cast<int>(it - sorted.begin());
}

double halfWidthBefore(const std::vector<double>& c) {
    return c.size() < 2 ? 0.5 : (c[1] - c[0]) / 2;
}
double halfWidthAfter(const std::vector<double>& c) {
    return c.size() < 2 ? 0.5 : (c[c.size() - 1] - c[c.size() - 2]) / 2;
}

// The cell of v among centres c, or -1 outside.
int cellAt(const std::vector<double>& c, double v) {
    if (c.empty() || !(v >= c.front() - halfWidthBefore(c)) ||
        !(v <= c.back() + halfWidthAfter(c))) {
        return -1;
    }
    // The nearest centre; a value on the edge between two cells belongs to the lower one.
    const auto after = static_cast<int>(std::upper_bound(c.begin(), c.end(), v) - c.begin());
    if (after == 0) {
        return 0;
    }
    if (after == static_cast<int>(c.size())) {
        return after - 1;
    }
    return v - c[after - 1] <= c[after] - v ? after - 1 : after;
}

// Position between centres: lower index and fraction towards the next; clamped at the ends.
void bracket(const std::vector<double>& c, double v, int& i, double& t) {
    if (c.size() < 2 || v <= c.front()) {
        i = 0;
        t = 0.0;
        return;
    }
    if (v >= c.back()) {
        i = static_cast<int>(c.size()) - 2;
        t = 1.0;
        return;
    }
    const auto it = std::upper_bound(c.begin(), c.end(), v);
    i = static_cast<int>(it - c.begin()) - 1;
    t = (v - c[i]) / (c[i + 1] - c[i]);
}

}  // namespace

GridMatrix GridMatrix::fromPoints(std::span<const GridPoint> points) {
    GridMatrix m;
    m.xs = distinct(points, &GridPoint::x);
    m.zs = distinct(points, &GridPoint::z);
    m.values.assign(m.xs.size() * m.zs.size(), kNaN);
    int column = 0;
    double lastX = kNaN;
    for (const GridPoint& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.z)) {
            continue;
        }
        if (p.x != lastX) {
            column = indexOf(m.xs, p.x);
            lastX = p.x;
        }
        const int row = indexOf(m.zs, p.z);
        m.values[static_cast<std::size_t>(row) * m.xs.size() + static_cast<std::size_t>(column)] =
            p.y;
    }
    const std::size_t stride = m.xs.size() + 1;
    m.prefixSums_.assign(stride * m.zs.size(), 0.0);
    m.prefixCounts_.assign(stride * m.zs.size(), 0);
    for (std::size_t r = 0; r < m.zs.size(); ++r) {
        for (std::size_t c = 0; c < m.xs.size(); ++c) {
            const double v = m.values[r * m.xs.size() + c];
            const bool finite = std::isfinite(v);
            const std::size_t at = r * stride + c;
            m.prefixSums_[at + 1] = m.prefixSums_[at] + (finite ? v : 0.0);
            m.prefixCounts_[at + 1] = m.prefixCounts_[at] + (finite ? 1 : 0);
        }
    }
    bool any = false;
    for (const double v : m.values) {
        if (std::isfinite(v)) {
            m.minValue = any ? std::min(m.minValue, v) : v;
            m.maxValue = any ? std::max(m.maxValue, v) : v;
            any = true;
        }
    }
    return m;
}

double GridMatrix::xLow() const {
    return xs.empty() ? 0.0 : xs.front() - halfWidthBefore(xs);
}
double GridMatrix::xHigh() const {
    return xs.empty() ? 1.0 : xs.back() + halfWidthAfter(xs);
}
double GridMatrix::zLow() const {
    return zs.empty() ? 0.0 : zs.front() - halfWidthBefore(zs);
}
double GridMatrix::zHigh() const {
    return zs.empty() ? 1.0 : zs.back() + halfWidthAfter(zs);
}

double GridMatrix::smallestColumnWidth() const {
    if (xs.size() < 2) {
        return 1.0;
    }
    double smallest = xs[1] - xs[0];
    for (std::size_t i = 2; i < xs.size(); ++i) {
        smallest = std::min(smallest, xs[i] - xs[i - 1]);
    }
    return smallest;
}

bool GridMatrix::uniformColumns() const {
    if (xs.size() < 3) {
        return true;
    }
    const double width = xs[1] - xs[0];
    for (std::size_t i = 2; i < xs.size(); ++i) {
        if (std::abs((xs[i] - xs[i - 1]) - width) > width * 1e-6) {
            return false;
        }
    }
    return true;
}

int GridMatrix::columnAt(double x) const {
    return cellAt(xs, x);
}
int GridMatrix::rowAt(double z) const {
    return cellAt(zs, z);
}

double GridMatrix::nearest(double x, double z) const {
    const int column = columnAt(x);
    const int row = rowAt(z);
    return column < 0 || row < 0 ? kNaN : at(row, column);
}

double GridMatrix::bilinear(double x, double z) const {
    if (columnAt(x) < 0 || rowAt(z) < 0) {
        return kNaN;
    }
    int i = 0;
    int j = 0;
    double t = 0.0;
    double u = 0.0;
    bracket(xs, x, i, t);
    bracket(zs, z, j, u);
    const int i1 = std::min(i + 1, columns() - 1);
    const int j1 = std::min(j + 1, rows() - 1);
    const double v00 = at(j, i);
    const double v10 = at(j, i1);
    const double v01 = at(j1, i);
    const double v11 = at(j1, i1);
    if (!std::isfinite(v00) || !std::isfinite(v10) || !std::isfinite(v01) || !std::isfinite(v11)) {
        return nearest(x, z);
    }
    return (1 - u) * ((1 - t) * v00 + t * v10) + u * ((1 - t) * v01 + t * v11);
}

double GridMatrix::rowMean(int row, double from, double to) const {
    const auto first =
        static_cast<std::size_t>(std::lower_bound(xs.begin(), xs.end(), from) - xs.begin());
    const auto last =
        static_cast<std::size_t>(std::upper_bound(xs.begin(), xs.end(), to) - xs.begin());
    const std::size_t base = static_cast<std::size_t>(row) * (xs.size() + 1);
    const int count = last > first ? prefixCounts_[base + last] - prefixCounts_[base + first] : 0;
    if (count == 0) {
        return kNaN;
    }
    return (prefixSums_[base + last] - prefixSums_[base + first]) / count;
}

double GridMatrix::smoothed(double x, double z, double halfWidth) const {
    if (columnAt(x) < 0 || rowAt(z) < 0) {
        return kNaN;
    }
    int j = 0;
    double u = 0.0;
    bracket(zs, z, j, u);
    const int j1 = std::min(j + 1, rows() - 1);
    const double low = rowMean(j, x - halfWidth, x + halfWidth);
    const double high = rowMean(j1, x - halfWidth, x + halfWidth);
    if (!std::isfinite(low) || !std::isfinite(high)) {
        return bilinear(x, z);
    }
    return (1 - u) * low + u * high;
}

}  // namespace quorvane
