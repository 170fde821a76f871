#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "views/request_checks.h"
#include "views/road_measures.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace quorvane {

class Chart;
class Dialogs;
struct CommandContext;
struct IntervalTable;
struct TravelTimePicture;

// What a road measures window shows, kept so that its export writes exactly what the batch
// command writes for the same request.
struct MeasuresRequest {
    std::shared_ptr<const Day> day;
    std::shared_ptr<const IntervalTable> intervals;
    int road = 0;
    RequestSelection selection;
    SpeedSettings speed;
    double thresholdKmh = kDefaultThresholdKmh;
    std::string proposedCsv;
};

// The table's columns.
enum MeasuresColumn {
    kPeriodColumn,
    kVktColumn,
    kVhtColumn,
    kDelayColumn,
    kSpeedColumn,
    kUnmeasuredColumn,
    kMeasuresColumns
};

// frmRoadMeasures: a summary line, the travel-time graph (a chart like every graph's: zoom,
// read-out, editor), a table of the whole range and its hours (VKT, VHT, delay, speed, the
// unmeasured share; in miles with mph), and "Export CSV...".
class RoadMeasuresWindow : public QWidget {
    Q_OBJECT
  public:
    RoadMeasuresWindow(Dialogs& dialogs, MeasuresRequest request, const RoadMeasures& measures,
                       const TravelTimePicture& picture, QWidget* owner);

    QLabel* lblSummary;
    Chart* chtTravelTime;
    QTableWidget* grdTotals;
    QPushButton* btnExportCsv;

  private:
    void fillTotals(const RoadMeasures& measures);
    void exportCsv();

    Dialogs& dialogs_;
    MeasuresRequest request_;
};

// btnRoadMeasures: the measures of the selected road over the selected range, at the interval
// in force, with the road tab's speed settings and threshold, in a new window. Refusals (no data,
// the range, the road's positions) show their message and open nothing; with no road selected
// nothing happens, as with the road graphs.
void showRoadMeasures(CommandContext& context);

}  // namespace quorvane
