#pragma once

#include <span>
#include <vector>

#include "charts/chart_types.h"

namespace quorvane {

// The cells of a colour-grid or contour series: one column per distinct x, one row per
// distinct z, both ascending. Each cell is centred on its x and z; a cell reaches halfway to
// its neighbours, and the outer cells as far again beyond their centre, so columns of unequal
// width (an irregular grid) work the same as equal ones.
class GridMatrix {
  public:
    std::vector<double> xs;
    std::vector<double> zs;
    std::vector<double> values;  // [row * xs.size() + column]; NaN where no point was given
    double minValue = 0.0;       // over the finite values; both 0 when there are none
    double maxValue = 0.0;

    // Later points replace earlier ones in the same cell.
    static GridMatrix fromPoints(std::span<const GridPoint> points);

    bool empty() const { return xs.empty() || zs.empty(); }
    int columns() const { return static_cast<int>(xs.size()); }
    int rows() const { return static_cast<int>(zs.size()); }
    double at(int row, int column) const {
        return values[static_cast<std::size_t>(row) * xs.size() + static_cast<std::size_t>(column)];
    }

    // The outer edges of the outer cells.
    double xLow() const;
    double xHigh() const;
    double zLow() const;
    double zHigh() const;
    // Widest and narrowest cell, for the drawing resolution.
    double smallestColumnWidth() const;
    bool uniformColumns() const;

    // The cell containing (x, z), or -1 outside the grid.
    int columnAt(double x) const;
    int rowAt(double z) const;
    // Nearest-neighbour value; NaN outside the grid.
    double nearest(double x, double z) const;
    // Bilinear between cell centres, constant beyond the outer centres; NaN outside the grid.
    double bilinear(double x, double z) const;
    // As bilinear, but each row's value at x is the mean of the cells centred within
    // x +- halfWidth: what a raster coarser than the cells sees of them without aliasing.
    double smoothed(double x, double z, double halfWidth) const;

  private:
    // Per row, running sums and counts of the finite values over the columns.
    std::vector<double> prefixSums_;
    std::vector<int> prefixCounts_;
    double rowMean(int row, double from, double to) const;
};

}  // namespace quorvane
