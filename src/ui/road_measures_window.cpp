#include "ui/road_measures_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>

#include "base/dialogs.h"
#include "base/error.h"
#include "base/log.h"
#include "charts/chart.h"
#include "charts/travel_time_graph.h"
#include "core/day.h"
#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/control_factory.h"
#include "ui/file_requests.h"
#include "ui/speed_controls.h"
#include "ui/view_requests.h"
#include "ui/window_export.h"
#include "ui/window_lists.h"
#include "views/csv_export.h"
#include "views/interval_table.h"
#include "views/road_measures_export.h"
#include "views/travel_time_picture.h"

namespace quorvane {

namespace {

QString number(double value, int decimals) {
    return std::isnan(value) ? QString() : QString::number(value, 'f', decimals);
}

QString hhmm(int seconds) {
    return QString::fromStdString(formatHms(seconds).substr(0, 5));
}

QString summaryText(const Day& day, const MeasuresRequest& request, const RoadMeasures& m) {
    const std::string unit(unitInfo(m.unit).text);
    const char* distance = m.unit == SpeedUnit::Mph ? " mi" : " km";
    const RoadGeometry& road = m.geometry;
    return QStringLiteral(
               "%1: %2 stations, %3 to %4, %5%6. Free-flow travel time %7 min at %8 "
               "%9; delay counted below %10 %9.\n%11")
        .arg(QString::fromStdString(road.name))
        .arg(road.stations.size())
        .arg(road.stations.front())
        .arg(road.stations.back())
        .arg(number(m.lengthInUnit(), 2), QString::fromLatin1(distance),
             number(m.freeFlowMinutes(), 1), number(m.freeFlowSpeed, 1),
             QString::fromStdString(unit), number(m.threshold, 1),
             QString::fromStdString(speedEstimateNote(day, request.speed)));
}

}  // namespace

RoadMeasuresWindow::RoadMeasuresWindow(Dialogs& dialogs, MeasuresRequest request,
                                       const RoadMeasures& measures,
                                       const TravelTimePicture& picture, QWidget* owner)
    : QWidget(owner, Qt::Window),
      lblSummary(named<QLabel>("lblSummary")),
      chtTravelTime(named<Chart>("chtTravelTime")),
      grdTotals(named<QTableWidget>("grdTotals")),
      btnExportCsv(named<QPushButton>("btnExportCsv", QStringLiteral("&Export CSV..."))),
      dialogs_(dialogs),
      request_(std::move(request)) {
    setObjectName(QStringLiteral("frmRoadMeasures"));
    setAccessibleDescription(QStringLiteral("frmRoadMeasures"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Road Measures - ") +
                   QString::fromStdString(measures.geometry.name));
    lblSummary->setWordWrap(true);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblSummary->setText(summaryText(*request_.day, request_, measures));

    drawTravelTime(*chtTravelTime, picture);
    chtTravelTime->setDialogs(&dialogs_);
    chtTravelTime->setMinimumHeight(260);
    fillTotals(measures);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnExportCsv);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(chtTravelTime, 3);
    layout->addWidget(grdTotals, 2);
    layout->addLayout(buttons);
    connect(btnExportCsv, &QPushButton::clicked, this, &RoadMeasuresWindow::exportCsv);
    chainTabOrder({grdTotals, btnExportCsv});
    resize(800, 680);
}

void RoadMeasuresWindow::fillTotals(const RoadMeasures& measures) {
    const bool miles = measures.unit == SpeedUnit::Mph;
    const QString speedUnit = QString::fromLatin1(
        unitInfo(measures.unit).text.data(), static_cast<int>(unitInfo(measures.unit).text.size()));
    grdTotals->setColumnCount(kMeasuresColumns);
    grdTotals->setHorizontalHeaderLabels(
        {QStringLiteral("Hour"),
         miles ? QStringLiteral("VMT (veh-mi)") : QStringLiteral("VKT (veh-km)"),
         QStringLiteral("VHT (veh-h)"), QStringLiteral("Delay (veh-h)"),
         QStringLiteral("Speed (%1)").arg(speedUnit), QStringLiteral("Unmeasured")});
    const int start = *request_.selection.start;
    const int end = *request_.selection.end;
    // The whole range first, where it is seen without scrolling, then its hours.
    std::vector<PeriodTotals> rows{totalsOver(measures, start, end)};
    for (const PeriodTotals& hour : hourlyTotals(measures, start, end)) {
        rows.push_back(hour);
    }
    grdTotals->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const PeriodTotals& totals = rows[r];
        const bool whole = r == 0;
        const bool wholeDay = totals.startSeconds == 0 && totals.endSeconds == 86400;
        const QString period = !whole ? hhmm(totals.startSeconds) + QStringLiteral(" - ") +
                                            (totals.endSeconds == 86400 ? QStringLiteral("24:00")
                                                                        : hhmm(totals.endSeconds))
                               : wholeDay ? QStringLiteral("Whole day")
                                          : QStringLiteral("Whole range");
        const TrafficSums& sums = totals.sums;
        const QString cells[kMeasuresColumns] = {period,
                                                 number(sums.vkt, 1),
                                                 number(sums.vht, 2),
                                                 number(sums.delay, 2),
                                                 number(sums.speed(), 1),
                                                 number(sums.unmeasuredShare(), 3)};
        for (int column = 0; column < kMeasuresColumns; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(column == kPeriodColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                           : Qt::AlignRight | Qt::AlignVCenter);
            if (whole) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            grdTotals->setItem(static_cast<int>(r), column, item);
        }
    }
    grdTotals->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTotals->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdTotals->verticalHeader()->hide();
    grdTotals->setAlternatingRowColors(true);
    QHeaderView& header = *grdTotals->horizontalHeader();
    header.setSectionResizeMode(QHeaderView::Stretch);
    header.setSectionResizeMode(kPeriodColumn, QHeaderView::ResizeToContents);
}

void RoadMeasuresWindow::exportCsv() {
    const ButtonGuard guard(btnExportCsv);
    exportCsvThroughDialogs(dialogs_, request_.proposedCsv, [&](const std::string& path) {
        // The day the window shows met no refusal when it opened: the log has nothing to add.
        Log unused;
        const auto written = exportRoadMeasures(
            std::filesystem::path(path), *request_.day, *request_.intervals, request_.road,
            request_.selection, request_.speed, request_.thresholdKmh, unused);
        const auto* refusal = std::get_if<Refusal>(&written);
        return refusal != nullptr ? std::optional(*refusal) : std::nullopt;
    });
}

void showRoadMeasures(CommandContext& context) {
    MainControls& c = context.controls;
    ButtonGuard guard(c.btnRoadMeasures);
    runCommand(context, guard, ErrorReport::Line, [&] {
        const auto data = dataInForce(context);
        if (!data) {
            return;
        }
        const std::optional<int> road = selectedIndex(*c.cmbRoadList);
        MeasuresRequest request{data->day,
                                data->intervals,
                                road.value_or(-1),
                                readSelection(c),
                                readSpeedSettings(c),
                                readThresholdKmh(c),
                                {}};
        if (const auto refusal = checkRangeRequest(request.selection)) {
            showRefusal(context, Refusal{std::string(*refusal)});
            return;
        }
        // No road selected (text typed into the road list): nothing to measure, nothing to say.
        if (!road || *road < 0 || *road >= request.day->roads.count()) {
            return;
        }
        const auto measured =
            measureRoad(*request.day, *request.intervals, request.road, request.selection,
                        request.speed, request.thresholdKmh, context.workspace.log);
        if (const auto* refusal = std::get_if<Refusal>(&measured)) {
            showRefusal(context, *refusal);
            return;
        }
        const RoadMeasures& measures = std::get<RoadMeasures>(measured);
        request.proposedCsv = proposedRoadFile(c, measures.geometry.name, "_measures.csv");
        const TravelTimePicture picture =
            travelTimePicture(measures, *request.selection.start, *request.selection.end,
                              request.intervals->choice().text);
        auto* window = new RoadMeasuresWindow(context.dialogs, std::move(request), measures,
                                              picture, context.windows.owner);
        window->show();
        window->raise();
    });
}

}  // namespace quorvane
