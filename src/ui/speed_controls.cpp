#include "ui/speed_controls.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "core/day.h"
#include "ui/control_factory.h"
#include "ui/main_controls.h"
#include "views/road_measures.h"

namespace quorvane {

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<int>(view.size()));
}

QString lengthSuffix(SpeedUnit unit) {
    return QLatin1Char(' ') + text(unitInfo(unit).lengthUnit);
}

QString speedSuffix(SpeedUnit unit) {
    return QLatin1Char(' ') + text(unitInfo(unit).text);
}

// The unit the length box shows its value in, told by its suffix.
SpeedUnit boxUnit(const QDoubleSpinBox& box) {
    return box.suffix() == lengthSuffix(SpeedUnit::Mph) ? SpeedUnit::Mph : SpeedUnit::Kmh;
}

double tenths(double value) {
    return std::round(value * 10.0) / 10.0;
}

// The accepted lengths in the unit, to a tenth inside 2 .. 30 m.
void setLengthRange(QDoubleSpinBox& box, SpeedUnit unit) {
    const double perUnit = unitInfo(unit).metresPerLengthUnit;
    box.setSuffix(lengthSuffix(unit));
    box.setRange(std::ceil(kShortestVehicleMetres / perUnit * 10.0) / 10.0,
                 std::floor(kLongestVehicleMetres / perUnit * 10.0) / 10.0);
}

// The accepted free-flow speeds in the unit, to a tenth inside 60 .. 140 km/h.
void setFreeFlowRange(QDoubleSpinBox& box, SpeedUnit unit) {
    const double perUnit = unitInfo(unit).kmPerUnit;
    box.setSuffix(speedSuffix(unit));
    box.setRange(std::ceil(kLowestFreeFlowKmh / perUnit * 10.0) / 10.0,
                 std::floor(kHighestFreeFlowKmh / perUnit * 10.0) / 10.0);
}

// The accepted thresholds in the unit, to a tenth inside 30 .. 130 km/h.
void setThresholdRange(QDoubleSpinBox& box, SpeedUnit unit) {
    const double perUnit = unitInfo(unit).kmPerUnit;
    box.setSuffix(speedSuffix(unit));
    box.setRange(std::ceil(kLowestThresholdKmh / perUnit * 10.0) / 10.0,
                 std::floor(kHighestThresholdKmh / perUnit * 10.0) / 10.0);
}

// The default threshold in the unit as the box shows it.
double defaultThreshold(SpeedUnit unit) {
    return tenths(kDefaultThresholdKmh / unitInfo(unit).kmPerUnit);
}

// The unit a speed box shows its value in, told by its suffix.
SpeedUnit speedBoxUnit(const QDoubleSpinBox& box) {
    return box.suffix() == speedSuffix(SpeedUnit::Mph) ? SpeedUnit::Mph : SpeedUnit::Kmh;
}

QDoubleSpinBox* tenthsBox(const char* name) {
    auto* box = named<QDoubleSpinBox>(name);
    box->setDecimals(1);
    box->setSingleStep(0.1);
    return box;
}

}  // namespace

void makeSpeedControls(MainControls& c) {
    const QString tip = text(kSpeedToolTip);
    c.btnSpeedColorGrid =
        named<QPushButton>("btnSpeedColorGrid", QStringLiteral("S&peed Color Grid"));
    c.btnSpeedContour = named<QPushButton>("btnSpeedContour", QStringLiteral("Spe&ed Contour"));
    c.cmbSpeedUnit = named<QComboBox>("cmbSpeedUnit");
    for (const SpeedUnitInfo& unit : kSpeedUnits) {
        c.cmbSpeedUnit->addItem(text(unit.text));
    }
    c.lblSpeedUnit = captionFor("lblSpeedUnit", QStringLiteral("&Unit:"), c.cmbSpeedUnit);
    c.cmbGFactor = named<QComboBox>("cmbGFactor");
    c.cmbGFactor->addItem(text(kCalibratedEntry));
    c.cmbGFactor->addItem(text(kFixedLengthEntry));
    c.lblGFactor = captionFor("lblGFactor", QStringLiteral("g-&factor:"), c.cmbGFactor);
    c.spnFreeFlowSpeed = tenthsBox("spnFreeFlowSpeed");
    setFreeFlowRange(*c.spnFreeFlowSpeed, SpeedUnit::Kmh);
    c.spnFreeFlowSpeed->setValue(unitInfo(SpeedUnit::Kmh).defaultFreeFlow);
    c.lblFreeFlowSpeed =
        captionFor("lblFreeFlowSpeed", QStringLiteral("Free-flo&w speed:"), c.spnFreeFlowSpeed);
    c.spnVehicleLength = tenthsBox("spnVehicleLength");
    setLengthRange(*c.spnVehicleLength, SpeedUnit::Kmh);
    c.spnVehicleLength->setValue(unitInfo(SpeedUnit::Kmh).defaultLength);
    c.lblVehicleLength =
        captionFor("lblVehicleLength", QStringLiteral("Vehicle len&gth:"), c.spnVehicleLength);
    c.lblSpeedEstimate = note("lblSpeedEstimate", QString());
    // Room for the note's two lines whatever it says: a wrapped label in a grid is otherwise
    // given the height of one.
    c.lblSpeedEstimate->setMinimumHeight(2 * c.lblSpeedEstimate->fontMetrics().lineSpacing() + 2);
    for (QWidget* widget :
         {static_cast<QWidget*>(c.btnSpeedColorGrid), static_cast<QWidget*>(c.btnSpeedContour),
          static_cast<QWidget*>(c.cmbSpeedUnit), static_cast<QWidget*>(c.cmbGFactor),
          static_cast<QWidget*>(c.spnFreeFlowSpeed), static_cast<QWidget*>(c.spnVehicleLength)}) {
        widget->setToolTip(tip);
    }
}

void makeMeasureControls(MainControls& c) {
    c.btnRoadMeasures = named<QPushButton>("btnRoadMeasures", QStringLiteral("Road &Measures"));
    c.btnRoadMeasures->setToolTip(
        QStringLiteral("Vehicle-kilometres and -hours travelled, the delay below the threshold "
                       "speed and the travel time along the road (needs VURStaPos.list)."));
    c.btnFindBottlenecks =
        named<QPushButton>("btnFindBottlenecks", QStringLiteral("F&ind Bottlenecks"));
    c.btnFindBottlenecks->setToolTip(
        QStringLiteral("Where and when each queue started, how far it reached and what it cost, "
                       "on five-minute speeds (needs VURStaPos.list)."));
    c.spnThreshold = tenthsBox("spnThreshold");
    setThresholdRange(*c.spnThreshold, SpeedUnit::Kmh);
    c.spnThreshold->setValue(defaultThreshold(SpeedUnit::Kmh));
    c.spnThreshold->setToolTip(QStringLiteral(
        "The delay of the road measures and the bottlenecks counts the time spent below this "
        "speed."));
    c.lblThreshold = captionFor("lblThreshold", QStringLiteral("T&hreshold:"), c.spnThreshold);
}

double readThresholdKmh(const MainControls& c) {
    const SpeedUnit unit = speedBoxUnit(*c.spnThreshold);
    const double shown = c.spnThreshold->value();
    if (shown == defaultThreshold(unit)) {
        return kDefaultThresholdKmh;
    }
    return shown * unitInfo(unit).kmPerUnit;
}

SpeedSettings readSpeedSettings(const MainControls& c) {
    const SpeedUnit unit = boxUnit(*c.spnVehicleLength);
    const SpeedEstimate estimate =
        c.cmbGFactor->currentIndex() == 1 ? SpeedEstimate::FixedLength : SpeedEstimate::Calibrated;
    return {unit, c.spnVehicleLength->value(), estimate, c.spnFreeFlowSpeed->value()};
}

void changeSpeedUnit(MainControls& c) {
    QDoubleSpinBox& length = *c.spnVehicleLength;
    const SpeedUnit from = boxUnit(length);
    const SpeedUnit to = c.cmbSpeedUnit->currentIndex() == 1 ? SpeedUnit::Mph : SpeedUnit::Kmh;
    if (from == to) {
        return;
    }
    const double metres = length.value() * unitInfo(from).metresPerLengthUnit;
    setLengthRange(length, to);
    length.setValue(tenths(metres / unitInfo(to).metresPerLengthUnit));

    QDoubleSpinBox& freeFlow = *c.spnFreeFlowSpeed;
    const bool wasDefault = freeFlow.value() == unitInfo(from).defaultFreeFlow;
    const double kmh = freeFlow.value() * unitInfo(from).kmPerUnit;
    setFreeFlowRange(freeFlow, to);
    freeFlow.setValue(wasDefault ? unitInfo(to).defaultFreeFlow
                                 : tenths(kmh / unitInfo(to).kmPerUnit));

    QDoubleSpinBox& threshold = *c.spnThreshold;
    const double thresholdKmh = readThresholdKmh(c);
    const bool thresholdDefault = thresholdKmh == kDefaultThresholdKmh;
    setThresholdRange(threshold, to);
    threshold.setValue(thresholdDefault ? defaultThreshold(to)
                                        : tenths(thresholdKmh / unitInfo(to).kmPerUnit));
}

void showSpeedEstimate(MainControls& c, const Day* day) {
    const SpeedSettings settings = readSpeedSettings(c);
    const bool fixed = settings.estimate == SpeedEstimate::FixedLength;
    c.spnVehicleLength->setEnabled(fixed);
    c.lblVehicleLength->setEnabled(fixed);
    c.spnFreeFlowSpeed->setEnabled(!fixed);
    c.lblFreeFlowSpeed->setEnabled(!fixed);
    c.lblSpeedEstimate->setText(
        day == nullptr ? QString() : QString::fromStdString(speedEstimateNote(*day, settings)));
}

}  // namespace quorvane
