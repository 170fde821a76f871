#include "ui/health_model.h"

#include <array>
#include <utility>

namespace quorvane {

namespace {

struct StatusLook {
    const char* symbol;
    QRgb background;
};

// Light tints of a palette that stays apart for colour-blind eyes (Okabe and Ito), black text
// on each; the symbol says the same without colour.
constexpr std::array<StatusLook, kHealthStatuses.size()> kLooks{{
    {"\u25CB", 0xD9D9D9},  // no data: grey, a hollow circle
    {"\u25D0", 0xBFE3F7},  // insufficient data: sky blue, a half circle
    {"\u25A0", 0xF2B9A0},  // card off: vermilion, a square
    {"\u25B2", 0xF5D38A},  // high values: orange, a triangle
    {"\u21AF", 0xF7EE9A},  // intermittent: yellow, a zigzag
    {"\u2261", 0xE6B8D2},  // constant: reddish purple, flat lines
    {"\u2714", 0xA8E0C8},  // good: bluish green, a tick
}};

const StatusLook& lookOf(HealthStatus status) {
    return kLooks[static_cast<std::size_t>(status)];
}

struct ColumnText {
    const char* caption;
    const char* tip;
};

constexpr std::array<ColumnText, kHealthColumnCount> kColumns{{
    {"Station", "Station number"},
    {"Detector", "Detector number"},
    {"Status", "The first fault found, in the order of the status filter; else good"},
    {"Station\ngrade", "Good detectors of the station out of its listed detectors"},
    {"Samples", "Slots from 05:00 to 21:59:30 with volume at most 40 and occupancy 0 .. 100 %"},
    {"Implausible", "The other slots from 05:00 to 21:59:30"},
    {"Zero\nocc.", "Samples with occupancy 0"},
    {"High\nocc.", "Samples with occupancy above 70 %"},
    {"Zero vol.,\nocc. > 0", "Samples with volume 0 and occupancy above 0"},
    {"Zero occ.,\nvol. > 0", "Samples with occupancy 0 and volume above 0"},
    {"Longest\nconstant (min)", "Longest run of samples with one occupancy above 0"},
    {"g-factor\n(m)",
     "Effective vehicle length fitted to the detector's free-flow periods at the free-flow speed "
     "of the road tab; empty when the detector is not calibrated"},
}};

}  // namespace

QString statusLabel(HealthStatus status) {
    const std::string_view text = statusText(status);
    return QString::fromUtf8(lookOf(status).symbol) + QLatin1Char(' ') +
           QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

QColor statusColour(HealthStatus status) {
    return QColor(lookOf(status).background);
}

HealthTableModel::HealthTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void HealthTableModel::setDay(std::shared_ptr<const Day> day, double freeFlowKmh) {
    beginResetModel();
    day_ = std::move(day);
    freeFlowKmh_ = freeFlowKmh;
    stationGrades_ = stationGrades(health());
    endResetModel();
}

int HealthTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || day_ == nullptr ? 0 : static_cast<int>(health().detectors.size());
}

int HealthTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kHealthColumnCount;
}

QVariant HealthTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const DetectorGrade& grade = health().detectors[row];
    const bool isStatus = index.column() == kStatusColumn;
    switch (role) {
        case Qt::DisplayRole:
            return display(grade, row, index.column());
        case kHealthSortRole:
            return sortValue(grade, row, index.column());
        case Qt::BackgroundRole:
            return isStatus ? QVariant(statusColour(grade.status)) : QVariant();
        case Qt::ForegroundRole:
            return isStatus ? QVariant(QColor(Qt::black)) : QVariant();
        case Qt::TextAlignmentRole:
            return isStatus ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                            : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant HealthTableModel::display(const DetectorGrade& grade, std::size_t row, int column) const {
    const DetectorCounts& c = grade.counts;
    switch (column) {
        case kStationColumn:
            return static_cast<int>(grade.station);
        case kDetectorColumn:
            return static_cast<int>(grade.detector);
        case kStatusColumn:
            return statusLabel(grade.status);
        case kStationGradeColumn:
            return QString::fromStdString(stationGrades_[row].text());
        case kSamplesColumn:
            return c.samples;
        case kImplausibleColumn:
            return c.implausible;
        case kZeroOccupancyColumn:
            return c.zeroOccupancy;
        case kHighOccupancyColumn:
            return c.highOccupancy;
        case kZeroVolumePositiveOccupancyColumn:
            return c.zeroVolumePositiveOccupancy;
        case kZeroOccupancyPositiveVolumeColumn:
            return c.zeroOccupancyPositiveVolume;
        case kLongestConstantColumn:
            return QString::fromStdString(constantMinutesText(c.longestConstantSlots));
        case kGFactorColumn:
            return QString::fromStdString(gFactorText(grade, freeFlowKmh_));
        default:
            return {};
    }
}

QVariant HealthTableModel::sortValue(const DetectorGrade& grade, std::size_t row,
                                     int column) const {
    switch (column) {
        case kStatusColumn:
            return static_cast<int>(grade.status);
        case kStationGradeColumn: {
            const StationGrade& station = stationGrades_[row];
            return static_cast<double>(station.good) / station.listed;
        }
        case kLongestConstantColumn:
            return grade.counts.longestConstantSlots;
        case kGFactorColumn:  // the uncalibrated first
            return grade.fit.calibrated(freeFlowKmh_) ? grade.fit.gFactor(freeFlowKmh_) : -1.0;
        default:
            return display(grade, row, column);
    }
}

QVariant HealthTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kHealthColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const ColumnText& text = kColumns[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) {
        return QString::fromLatin1(text.caption);
    }
    if (role == Qt::ToolTipRole) {
        return QString::fromLatin1(text.tip);
    }
    return {};
}

HealthFilterModel::HealthFilterModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(kHealthSortRole);
}

void HealthFilterModel::setStatus(std::optional<HealthStatus> status) {
    status_ = status;
    invalidateFilter();
}

void HealthFilterModel::setNumberText(const QString& text) {
    numberText_ = text.trimmed();
    invalidateFilter();
}

bool HealthFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const auto* source = static_cast<const HealthTableModel*>(sourceModel());
    if (sourceParent.isValid() || source == nullptr) {
        return false;
    }
    const DetectorGrade& grade = source->health().detectors[static_cast<std::size_t>(sourceRow)];
    if (status_ && grade.status != *status_) {
        return false;
    }
    return numberText_.isEmpty() || QString::number(grade.station).startsWith(numberText_) ||
           QString::number(grade.detector).startsWith(numberText_);
}

}  // namespace quorvane
