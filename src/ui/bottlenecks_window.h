#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "views/bottlenecks.h"

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace quorvane {

class Dialogs;
struct CommandContext;

// The table's columns: those of the batch command's file.
enum BottleneckColumn {
    kRoadColumn,
    kUpstreamColumn,
    kDownstreamColumn,
    kPositionColumn,
    kShiftColumn,
    kStartColumn,
    kEndColumn,
    kDurationColumn,
    kMaxExtentColumn,
    kMedianExtentColumn,
    kBottleneckDelayColumn,
    kBottleneckColumns
};

// frmBottlenecks: the activations of one road, one row each, every column sortable by its
// value, and "Export CSV...", which writes what the batch command writes for the road.
class BottlenecksWindow : public QWidget {
    Q_OBJECT
  public:
    BottlenecksWindow(Dialogs& dialogs, RoadBottlenecks found, std::string estimateNote,
                      std::string proposedCsv, QWidget* owner);

    QLabel* lblSummary;
    QTableView* grdBottlenecks;
    QPushButton* btnExportCsv;

  private:
    void fill();
    void exportCsv();

    Dialogs& dialogs_;
    RoadBottlenecks found_;
    std::string proposedCsv_;
    QStandardItemModel* model_;
    QSortFilterProxyModel* sorted_;
};

// btnFindBottlenecks: the activations of the selected road on the day in force, with the road
// tab's speed settings and threshold, in a new window. Refusals (no data, the road's positions)
// show their message and open nothing; with no road selected nothing happens.
void showBottlenecks(CommandContext& context);

}  // namespace quorvane
