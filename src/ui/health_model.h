#pragma once

// The detector health table of the health window: one row per graded detector, the counts as
// columns, and a proxy that sorts every column by its value and filters by status and number.

#include <QAbstractTableModel>
#include <QColor>
#include <QSortFilterProxyModel>
#include <memory>
#include <optional>
#include <vector>

#include "core/day.h"
#include "views/health_report.h"

namespace quorvane {

enum HealthColumn {
    kStationColumn,
    kDetectorColumn,
    kStatusColumn,
    kStationGradeColumn,
    kSamplesColumn,
    kImplausibleColumn,
    kZeroOccupancyColumn,
    kHighOccupancyColumn,
    kZeroVolumePositiveOccupancyColumn,
    kZeroOccupancyPositiveVolumeColumn,
    kLongestConstantColumn,
    kGFactorColumn,
    kHealthColumnCount
};

// The value a column sorts by: the number itself, the status in grading order, the station's
// share of good detectors.
inline constexpr int kHealthSortRole = Qt::UserRole + 1;

// How a status reads in the table: a symbol before its text, so that it is told apart without
// its colour, and a light background (good green, each fault its own hue).
QString statusLabel(HealthStatus status);
QColor statusColour(HealthStatus status);

// The grades of one built day; it keeps the day, so the rows stay valid however long it is
// shown.
class HealthTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit HealthTableModel(QObject* parent = nullptr);

    // A day built from an archive (it has grades), its g-factors at the free-flow speed V;
    // replaces the rows whole.
    void setDay(std::shared_ptr<const Day> day, double freeFlowKmh);
    const DetectorHealth& health() const { return day_->health.value(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QVariant display(const DetectorGrade& grade, std::size_t row, int column) const;
    QVariant sortValue(const DetectorGrade& grade, std::size_t row, int column) const;

    std::shared_ptr<const Day> day_;
    double freeFlowKmh_ = kDefaultFreeFlowKmh;
    std::vector<StationGrade> stationGrades_;
};

// Sorts by kHealthSortRole; keeps the rows of one status (none: all) whose station or detector
// number starts with the filter text.
class HealthFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit HealthFilterModel(QObject* parent = nullptr);

    void setStatus(std::optional<HealthStatus> status);
    void setNumberText(const QString& text);

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    std::optional<HealthStatus> status_;
    QString numberText_;
};

}  // namespace quorvane
