#pragma once

// The windows of the Many Days tab that are more than a graph: the travel-time reliability of a
// road (its graph, a summary and the batch command's file) and the ranking of the days'
// bottlenecks (a table and the batch command's file).

#include <QWidget>
#include <string>
#include <vector>

#include "views/bottleneck_ranking.h"
#include "views/reliability.h"

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace quorvane {

class Chart;
class Dialogs;
struct TravelTimePicture;

// frmReliability: a summary line (days, free-flow travel time, the worst planning time index),
// the graph of the mean and the 95th percentile travel time by departure time, and "Export
// CSV...", which writes what `quorvane-cli reliability` writes.
class ReliabilityWindow : public QWidget {
    Q_OBJECT
  public:
    ReliabilityWindow(Dialogs& dialogs, RoadReliability reliability,
                      const TravelTimePicture& picture, std::string summary,
                      std::string proposedCsv, QWidget* owner);

    QLabel* lblSummary;
    Chart* chtReliability;
    QPushButton* btnExportCsv;

  private:
    void exportCsv();

    Dialogs& dialogs_;
    RoadReliability reliability_;
    std::string proposedCsv_;
};

// The ranking table's columns: those of the batch command's file.
enum RankingColumn {
    kRankRoadColumn,
    kRankUpstreamColumn,
    kRankDownstreamColumn,
    kRankShiftColumn,
    kRankDaysActiveColumn,
    kRankDaysColumn,
    kRankDurationColumn,
    kRankExtentColumn,
    kRankDelayColumn,
    kRankTotalDelayColumn,
    kRankColumns
};

// frmRanking: the ranked bottlenecks, one row each in ranking order, every column sortable by
// its value, and "Export CSV...", which writes what `quorvane-cli bottlenecks --rank` writes.
class RankingWindow : public QWidget {
    Q_OBJECT
  public:
    RankingWindow(Dialogs& dialogs, std::vector<RankedBottleneck> ranking, std::string summary,
                  std::string proposedCsv, QWidget* owner);

    QLabel* lblSummary;
    QTableView* grdRanking;
    QPushButton* btnExportCsv;

  private:
    void fill();
    void exportCsv();

    Dialogs& dialogs_;
    std::vector<RankedBottleneck> ranking_;
    std::string proposedCsv_;
    QStandardItemModel* model_;
    QSortFilterProxyModel* sorted_;
};

}  // namespace quorvane
