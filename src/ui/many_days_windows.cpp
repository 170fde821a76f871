#include "ui/many_days_windows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <filesystem>

#include "base/file_io.h"
#include "charts/chart.h"
#include "charts/travel_time_graph.h"
#include "ui/button_guard.h"
#include "ui/control_factory.h"
#include "ui/sortable_table.h"
#include "ui/window_export.h"
#include "views/travel_time_picture.h"

namespace quorvane {

namespace {

QHBoxLayout* exportRow(QPushButton* button) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    return row;
}

}  // namespace

ReliabilityWindow::ReliabilityWindow(Dialogs& dialogs, RoadReliability reliability,
                                     const TravelTimePicture& picture, std::string summary,
                                     std::string proposedCsv, QWidget* owner)
    : QWidget(owner, Qt::Window),
      lblSummary(named<QLabel>("lblSummary")),
      chtReliability(named<Chart>("chtReliability")),
      btnExportCsv(named<QPushButton>("btnExportCsv", QStringLiteral("&Export CSV..."))),
      dialogs_(dialogs),
      reliability_(std::move(reliability)),
      proposedCsv_(std::move(proposedCsv)) {
    setObjectName(QStringLiteral("frmReliability"));
    setAccessibleDescription(QStringLiteral("frmReliability"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(picture.caption));
    lblSummary->setWordWrap(true);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblSummary->setText(QString::fromStdString(summary));
    drawTravelTime(*chtReliability, picture);
    chtReliability->setDialogs(&dialogs_);
    chtReliability->setMinimumHeight(300);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(chtReliability, 1);
    layout->addLayout(exportRow(btnExportCsv));
    connect(btnExportCsv, &QPushButton::clicked, this, &ReliabilityWindow::exportCsv);
    resize(760, 520);
}

void ReliabilityWindow::exportCsv() {
    const ButtonGuard guard(btnExportCsv);
    exportCsvThroughDialogs(dialogs_, proposedCsv_, [&](const std::string& path) {
        writeFileReplacing(std::filesystem::path(path), reliabilityText(reliability_));
        return std::optional<Refusal>();
    });
}

RankingWindow::RankingWindow(Dialogs& dialogs, std::vector<RankedBottleneck> ranking,
                             std::string summary, std::string proposedCsv, QWidget* owner)
    : QWidget(owner, Qt::Window),
      lblSummary(named<QLabel>("lblSummary")),
      grdRanking(named<QTableView>("grdRanking")),
      btnExportCsv(named<QPushButton>("btnExportCsv", QStringLiteral("&Export CSV..."))),
      dialogs_(dialogs),
      ranking_(std::move(ranking)),
      proposedCsv_(std::move(proposedCsv)),
      model_(new QStandardItemModel(this)),
      sorted_(new QSortFilterProxyModel(this)) {
    setObjectName(QStringLiteral("frmRanking"));
    setAccessibleDescription(QStringLiteral("frmRanking"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Bottleneck Ranking"));
    lblSummary->setWordWrap(true);
    lblSummary->setText(QString::fromStdString(summary));
    fill();
    showSortable(*grdRanking, *model_, *sorted_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(grdRanking, 1);
    layout->addLayout(exportRow(btnExportCsv));
    connect(btnExportCsv, &QPushButton::clicked, this, &RankingWindow::exportCsv);
    chainTabOrder({grdRanking, btnExportCsv});
    resize(900, 420);
}

void RankingWindow::fill() {
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("Road"), QStringLiteral("Up-\nstream"), QStringLiteral("Down-\nstream"),
         QStringLiteral("Shift"), QStringLiteral("Days\nactive"), QStringLiteral("Days"),
         QStringLiteral("Mean\nduration (min)"), QStringLiteral("Mean max\nextent (km)"),
         QStringLiteral("Mean delay\n(veh-h)"), QStringLiteral("Total delay\n(veh-h)")});
    for (const RankedBottleneck& b : ranking_) {
        const QString road = QString::fromStdString(b.road);
        const std::string_view shift = shiftText(b.shift);
        model_->appendRow({
            sortableCell(road, road, false),
            sortableCell(QString::number(b.upstreamStation), b.upstreamStation, true),
            sortableCell(QString::number(b.downstreamStation), b.downstreamStation, true),
            // Shifts sort in the day's order, not by name.
            sortableCell(QString::fromLatin1(shift.data(), static_cast<int>(shift.size())),
                         static_cast<int>(b.shift), false),
            sortableCell(QString::number(b.daysActive), b.daysActive, true),
            sortableCell(QString::number(b.days), b.days, true),
            sortableCell(QString::number(b.meanDurationMinutes, 'f', 1), b.meanDurationMinutes,
                         true),
            sortableCell(QString::number(b.meanMaxExtentKm, 'f', 3), b.meanMaxExtentKm, true),
            sortableCell(QString::number(b.meanDelayHours, 'f', 2), b.meanDelayHours, true),
            sortableCell(QString::number(b.totalDelayHours, 'f', 2), b.totalDelayHours, true),
        });
    }
}

void RankingWindow::exportCsv() {
    const ButtonGuard guard(btnExportCsv);
    exportCsvThroughDialogs(dialogs_, proposedCsv_, [&](const std::string& path) {
        writeFileReplacing(std::filesystem::path(path), rankingText(ranking_));
        return std::optional<Refusal>();
    });
}

}  // namespace quorvane
