#include "ui/health_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "base/dialogs.h"
#include "base/error.h"
#include "core/day.h"
#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/control_factory.h"
#include "ui/file_requests.h"
#include "ui/health_model.h"
#include "ui/qt_dialogs.h"
#include "ui/speed_controls.h"
#include "ui/window_export.h"
#include "views/csv_export.h"
#include "views/health_report.h"

namespace quorvane {

namespace {

// "may5.traffic" proposes "may5-health.csv" beside it.
std::string proposedHealthCsv(const std::string& source) {
    const std::filesystem::path archive(source);
    if (archive.stem().empty()) {
        return "health.csv";
    }
    return (archive.parent_path() / (archive.stem().string() + "-health.csv")).string();
}

QLayout* filterRow(HealthWindow& w) {
    auto* row = new QHBoxLayout;
    row->addWidget(captionFor("lblStatus", QStringLiteral("&Status"), w.cmbStatus));
    row->addWidget(w.cmbStatus);
    row->addSpacing(12);
    row->addWidget(captionFor("lblNumber", QStringLiteral("Station or &detector"), w.txtNumber));
    row->addWidget(w.txtNumber);
    row->addStretch();
    row->addWidget(w.btnExportCsv);
    return row;
}

}  // namespace

HealthWindow::HealthWindow(Dialogs& dialogs, QWidget* owner)
    : QWidget(owner, Qt::Window),
      lblSummary(named<QLabel>("lblSummary")),
      cmbStatus(named<QComboBox>("cmbStatus")),
      txtNumber(named<QLineEdit>("txtNumber")),
      grdHealth(named<QTableView>("grdHealth")),
      btnExportCsv(named<QPushButton>("btnExportCsv", QStringLiteral("&Export CSV..."))),
      dialogs_(dialogs),
      model_(new HealthTableModel(this)),
      filter_(new HealthFilterModel(this)) {
    setObjectName(QStringLiteral("frmHealth"));
    setAccessibleDescription(QStringLiteral("frmHealth"));
    QFont bold = lblSummary->font();
    bold.setBold(true);
    lblSummary->setFont(bold);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    cmbStatus->addItem(QStringLiteral("All"));
    for (const HealthStatus status : kHealthStatuses) {
        cmbStatus->addItem(statusLabel(status), static_cast<int>(status));
    }
    txtNumber->setPlaceholderText(QStringLiteral("number starts with"));
    txtNumber->setMaximumWidth(txtNumber->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 24);

    filter_->setSourceModel(model_);
    grdHealth->setModel(filter_);
    grdHealth->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);  // list order
    grdHealth->setSortingEnabled(true);
    grdHealth->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdHealth->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdHealth->verticalHeader()->hide();
    grdHealth->setAlternatingRowColors(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addLayout(filterRow(*this));
    layout->addWidget(grdHealth, 1);

    connect(cmbStatus, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &HealthWindow::chooseStatus);
    connect(txtNumber, &QLineEdit::textChanged, filter_, &HealthFilterModel::setNumberText);
    connect(btnExportCsv, &QPushButton::clicked, this, &HealthWindow::exportCsv);
    chainTabOrder({cmbStatus, txtNumber, btnExportCsv, grdHealth});
    resize(980, 560);
}

void HealthWindow::showHealth(std::shared_ptr<const Day> day, double freeFlowKmh,
                              const QString& dayName, std::string proposedCsv) {
    day_ = std::move(day);
    freeFlowKmh_ = freeFlowKmh;
    proposedCsv_ = std::move(proposedCsv);
    model_->setDay(day_, freeFlowKmh_);
    lblSummary->setText(QString::fromStdString(healthSummary(*day_->health)));
    setWindowTitle(dayName.isEmpty() ? QStringLiteral("Detector Health")
                                     : QStringLiteral("Detector Health - ") + dayName);
    grdHealth->resizeColumnsToContents();
    fitTableWidth();
    show();
    raise();
    activateWindow();
}

// Wide enough for every column when the screen allows: the counts side by side are the point.
void HealthWindow::fitTableWidth() {
    const int table = grdHealth->horizontalHeader()->length() + 2 * grdHealth->frameWidth() +
                      grdHealth->verticalScrollBar()->sizeHint().width();
    const QMargins margins = layout()->contentsMargins();
    int wanted = table + margins.left() + margins.right();
    if (const QScreen* screen = this->screen()) {
        wanted = std::min(wanted, screen->availableGeometry().width());
    }
    resize(std::max(width(), wanted), height());
}

void HealthWindow::chooseStatus(int index) {
    const QVariant status = cmbStatus->itemData(index);
    filter_->setStatus(status.isValid() ? std::optional(static_cast<HealthStatus>(status.toInt()))
                                        : std::nullopt);
}

void HealthWindow::exportCsv() {
    const ButtonGuard guard(btnExportCsv);
    exportCsvThroughDialogs(dialogs_, proposedCsv_, [&](const std::string& path) {
        writeHealthCsv(std::filesystem::path(path), *day_->health, freeFlowKmh_);
        return std::optional<Refusal>();
    });
}

void showDetectorHealth(CommandContext& context) {
    const ButtonGuard guard(context.controls.btnDetectorHealth);
    const std::shared_ptr<const Day> day = context.workspace.day;
    if (day == nullptr || !day->health) {
        context.dialogs.message(MessageIcon::Information, kHealthNeedsBuildMessage);
        return;
    }
    QWidget* owner = context.windows.owner;
    auto* window =
        owner->findChild<HealthWindow*>(QStringLiteral("frmHealth"), Qt::FindDirectChildrenOnly);
    if (window == nullptr) {
        window = new HealthWindow(context.dialogs, owner);
    }
    // lblDate names the day in force; txtZipName may name a later archive whose build failed,
    // but its folder is where the engineer works.
    const MainControls& c = context.controls;
    window->showHealth(day, readSpeedSettings(c).freeFlowKmh(), c.lblDate->text(),
                       proposedHealthCsv(c.txtZipName->text().toStdString()));
}

}  // namespace quorvane
