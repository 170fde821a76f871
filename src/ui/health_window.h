#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "core/calibration.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace quorvane {

class Dialogs;
class HealthFilterModel;
class HealthTableModel;
struct CommandContext;
struct Day;

// frmHealth: the detector health of a built day. The summary line on top, the status filter
// and the number filter, the table (one row per detector, sortable by every column) and
// "Export CSV...", which writes the whole table through the dialogs.
class HealthWindow : public QWidget {
    Q_OBJECT
  public:
    HealthWindow(Dialogs& dialogs, QWidget* owner);

    // Shows the grades of `day` (built from an archive, named `dayName` in the caption), the
    // g-factors at the free-flow speed V, and brings the window forward; the CSV export
    // proposes `proposedCsv`.
    void showHealth(std::shared_ptr<const Day> day, double freeFlowKmh, const QString& dayName,
                    std::string proposedCsv);

    QLabel* lblSummary;
    QComboBox* cmbStatus;
    QLineEdit* txtNumber;
    QTableView* grdHealth;
    QPushButton* btnExportCsv;

  private:
    void exportCsv();
    void fitTableWidth();
    void chooseStatus(int index);

    Dialogs& dialogs_;
    HealthTableModel* model_;
    HealthFilterModel* filter_;
    std::shared_ptr<const Day> day_;
    double freeFlowKmh_ = kDefaultFreeFlowKmh;
    std::string proposedCsv_;
};

// btnDetectorHealth: the health window for the day in force, or the message that a day loaded
// from a station file (or none yet) has no grades.
void showDetectorHealth(CommandContext& context);

}  // namespace quorvane
