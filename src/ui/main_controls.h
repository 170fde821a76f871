#pragma once

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace quorvane {

// The controls of frmMain, under their control names (each is also the widget's object name
// and accessible description, so tests and accessibility tools find them by name). The window
// owns them; commands read and write them through this struct.
struct MainControls {
    QTabWidget* SSTab1 = nullptr;

    // Tab 0, "Build Station Data"
    QLabel* Label1 = nullptr;
    QLineEdit* txtZipName = nullptr;
    QPushButton* btnBuildStationData = nullptr;
    QPushButton* btnShowlLog = nullptr;
    QPushButton* btnDetectorHealth = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optAvg = nullptr;
    QRadioButton* optWorst = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtBinFile = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnLoad = nullptr;
    QPushButton* btnExit = nullptr;

    // Tab 1, "View Station Data"
    QLabel* lblDateCaption = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* cmbStaList = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* cmbStartTime = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* cmbEndTime = nullptr;
    QPushButton* btnLinePlot = nullptr;
    QPushButton* btnScatterPlot = nullptr;
    QPushButton* btnVolSum = nullptr;
    QLineEdit* txtVolSum = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* Label9 = nullptr;
    QComboBox* cmbPlotInterval = nullptr;
    QPushButton* btnReCompute = nullptr;

    // Tab 2, "View Road Data"
    QLabel* Label8 = nullptr;
    QComboBox* cmbRoadList = nullptr;
    QLabel* Label10 = nullptr;
    QListWidget* lstN = nullptr;
    QListWidget* lstSta = nullptr;
    QPushButton* btnColorGrid = nullptr;
    QPushButton* btnOccColorGrid = nullptr;
    QPushButton* btnVolContour = nullptr;
    QPushButton* btnContour = nullptr;
    QPushButton* btnSpeedColorGrid = nullptr;
    QPushButton* btnSpeedContour = nullptr;
    QLabel* lblSpeedUnit = nullptr;
    QComboBox* cmbSpeedUnit = nullptr;  // "km/h", "mph"
    QLabel* lblGFactor = nullptr;
    QComboBox* cmbGFactor = nullptr;  // "calibrated per detector", "fixed length"
    QLabel* lblFreeFlowSpeed = nullptr;
    QDoubleSpinBox* spnFreeFlowSpeed = nullptr;  // in the unit of cmbSpeedUnit
    QLabel* lblVehicleLength = nullptr;
    QDoubleSpinBox* spnVehicleLength = nullptr;  // in metres for km/h, in feet for mph
    QLabel* lblSpeedEstimate = nullptr;          // which estimate the speed views use
    QPushButton* btnRoadMeasures = nullptr;
    QPushButton* btnFindBottlenecks = nullptr;
    QLabel* lblThreshold = nullptr;
    QDoubleSpinBox* spnThreshold = nullptr;  // the delay's threshold speed, in cmbSpeedUnit's unit
    QLabel* Label11 = nullptr;
    QPushButton* btnCSVfile = nullptr;
    QPushButton* btnExportTable = nullptr;
    QLabel* Label12 = nullptr;

    // Tab 3, "Many Days"
    QPushButton* btnDays = nullptr;
    QLabel* lblDaysFolder = nullptr;   // the folder of the set in force
    QProgressBar* prgDays = nullptr;   // days done of the set being built
    QLabel* lblDaysSummary = nullptr;  // "13 days: 12 built, 1 left out"
    QLabel* lblDaysLeftOut = nullptr;
    QListWidget* lstDaysLeftOut = nullptr;  // each day left out with its error
    QLabel* lblDaysRoad = nullptr;
    QComboBox* cmbDaysRoad = nullptr;
    QPushButton* btnTypicalGrid = nullptr;
    QPushButton* btnDifferenceGrid = nullptr;
    QPushButton* btnReliability = nullptr;
    QPushButton* btnRanking = nullptr;
    QPushButton* btnExportTypical = nullptr;

    // Outside the tabs
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
};

inline constexpr int kBuildTab = 0;
inline constexpr int kStationTab = 1;
inline constexpr int kRoadTab = 2;
inline constexpr int kManyDaysTab = 3;

// Creates every control inside `window` with its caption, lays them out and sets the tab
// order. The window's caption and the start-up state are the window's business.
MainControls buildMainControls(QWidget* window);

}  // namespace quorvane
