#include "ui/bottlenecks_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "base/dialogs.h"
#include "base/error.h"
#include "base/file_io.h"
#include "core/day.h"
#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/control_factory.h"
#include "ui/file_requests.h"
#include "ui/sortable_table.h"
#include "ui/speed_controls.h"
#include "ui/view_requests.h"
#include "ui/window_export.h"
#include "ui/window_lists.h"
#include "views/csv_export.h"
#include "views/interval_table.h"

namespace quorvane {

namespace {

QString fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

QString clock(int seconds) {
    return seconds == 86400 ? QStringLiteral("24:00:00")
                            : QString::fromStdString(formatHms(seconds));
}

}  // namespace

BottlenecksWindow::BottlenecksWindow(Dialogs& dialogs, RoadBottlenecks found,
                                     std::string estimateNote, std::string proposedCsv,
                                     QWidget* owner)
    : QWidget(owner, Qt::Window),
      lblSummary(named<QLabel>("lblSummary")),
      grdBottlenecks(named<QTableView>("grdBottlenecks")),
      btnExportCsv(named<QPushButton>("btnExportCsv", QStringLiteral("&Export CSV..."))),
      dialogs_(dialogs),
      found_(std::move(found)),
      proposedCsv_(std::move(proposedCsv)),
      model_(new QStandardItemModel(this)),
      sorted_(new QSortFilterProxyModel(this)) {
    setObjectName(QStringLiteral("frmBottlenecks"));
    setAccessibleDescription(QStringLiteral("frmBottlenecks"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Bottlenecks - ") + QString::fromStdString(found_.geometry.name));
    lblSummary->setWordWrap(true);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const std::size_t count = found_.activations.size();
    lblSummary->setText(
        QStringLiteral("%1: %2 bottleneck %3 on five-minute speeds. %4")
            .arg(QString::fromStdString(found_.geometry.name))
            .arg(count)
            .arg(count == 1 ? QStringLiteral("activation") : QStringLiteral("activations"),
                 QString::fromStdString(estimateNote)));
    fill();
    showSortable(*grdBottlenecks, *model_, *sorted_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnExportCsv);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(grdBottlenecks, 1);
    layout->addLayout(buttons);
    connect(btnExportCsv, &QPushButton::clicked, this, &BottlenecksWindow::exportCsv);
    chainTabOrder({grdBottlenecks, btnExportCsv});
    // Wide enough for every column when the screen allows: an activation reads across its row.
    int wanted = grdBottlenecks->horizontalHeader()->length() + 2 * grdBottlenecks->frameWidth() +
                 layout->contentsMargins().left() + layout->contentsMargins().right() + 24;
    if (const QScreen* screen = this->screen()) {
        wanted = std::min(wanted, screen->availableGeometry().width());
    }
    resize(std::max(wanted, 640), 360);
}

void BottlenecksWindow::fill() {
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("Road"), QStringLiteral("Up-\nstream"), QStringLiteral("Down-\nstream"),
         QStringLiteral("Position\n(km)"), QStringLiteral("Shift"), QStringLiteral("Start"),
         QStringLiteral("End"), QStringLiteral("Duration\n(min)"),
         QStringLiteral("Max extent\n(km)"), QStringLiteral("Median\nextent (km)"),
         QStringLiteral("Delay\n(veh-h)")});
    const QString road = QString::fromStdString(found_.geometry.name);
    for (const Activation& a : found_.activations) {
        const QString shift = QString::fromLatin1(shiftText(a.shift).data(),
                                                  static_cast<int>(shiftText(a.shift).size()));
        model_->appendRow({
            sortableCell(road, road, false),
            sortableCell(QString::number(a.upstreamStation), a.upstreamStation, true),
            sortableCell(QString::number(a.downstreamStation), a.downstreamStation, true),
            sortableCell(fixed(a.positionKm, 3), a.positionKm, true),
            // Shifts sort in the day's order, not by name.
            sortableCell(shift, static_cast<int>(a.shift), false),
            sortableCell(clock(a.startSeconds()), a.startSeconds(), true),
            sortableCell(clock(a.endSeconds()), a.endSeconds(), true),
            sortableCell(QString::number(a.durationMinutes()), a.durationMinutes(), true),
            sortableCell(fixed(a.maxExtentKm, 3), a.maxExtentKm, true),
            sortableCell(fixed(a.medianExtentKm, 3), a.medianExtentKm, true),
            sortableCell(fixed(a.delayHours, 2), a.delayHours, true),
        });
    }
}

void BottlenecksWindow::exportCsv() {
    const ButtonGuard guard(btnExportCsv);
    exportCsvThroughDialogs(dialogs_, proposedCsv_, [&](const std::string& path) {
        std::string text(kBottlenecksHeader);
        text += '\n';
        text += bottleneckLines(found_);
        writeFileReplacing(std::filesystem::path(path), text);
        return std::optional<Refusal>();
    });
}

void showBottlenecks(CommandContext& context) {
    MainControls& c = context.controls;
    ButtonGuard guard(c.btnFindBottlenecks);
    runCommand(context, guard, ErrorReport::Line, [&] {
        const auto data = dataInForce(context);
        if (!data) {
            return;
        }
        // No road selected (text typed into the road list): nothing to find, nothing to say.
        const std::optional<int> road = selectedIndex(*c.cmbRoadList);
        if (!road || *road < 0 || *road >= data->day->roads.count()) {
            return;
        }
        const SpeedSettings speed = readSpeedSettings(c);
        auto found =
            findBottlenecks(*data->day, *road, speed, readThresholdKmh(c), context.workspace.log);
        if (const auto* refusal = std::get_if<Refusal>(&found)) {
            showRefusal(context, *refusal);
            return;
        }
        RoadBottlenecks& bottlenecks = std::get<RoadBottlenecks>(found);
        std::string proposed = proposedRoadFile(c, bottlenecks.geometry.name, "_bottlenecks.csv");
        auto* window = new BottlenecksWindow(context.dialogs, std::move(bottlenecks),
                                             speedEstimateNote(*data->day, speed),
                                             std::move(proposed), context.windows.owner);
        window->show();
        window->raise();
    });
}

}  // namespace quorvane
