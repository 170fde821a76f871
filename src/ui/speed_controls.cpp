#include "ui/speed_controls.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "ui/control_factory.h"
#include "ui/main_controls.h"

namespace quorvane {

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<int>(view.size()));
}

QString lengthSuffix(SpeedUnit unit) {
    return QLatin1Char(' ') + text(unitInfo(unit).lengthUnit);
}

// The unit the length box shows its value in, told by its suffix.
SpeedUnit boxUnit(const QDoubleSpinBox& box) {
    return box.suffix() == lengthSuffix(SpeedUnit::Mph) ? SpeedUnit::Mph : SpeedUnit::Kmh;
}

// The accepted lengths in the unit, to a tenth inside 2 .. 30 m.
void setLengthRange(QDoubleSpinBox& box, SpeedUnit unit) {
    const double perUnit = unitInfo(unit).metresPerLengthUnit;
    box.setSuffix(lengthSuffix(unit));
    box.setRange(std::ceil(kShortestVehicleMetres / perUnit * 10.0) / 10.0,
                 std::floor(kLongestVehicleMetres / perUnit * 10.0) / 10.0);
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
    c.spnVehicleLength = named<QDoubleSpinBox>("spnVehicleLength");
    c.spnVehicleLength->setDecimals(1);
    c.spnVehicleLength->setSingleStep(0.1);
    setLengthRange(*c.spnVehicleLength, SpeedUnit::Kmh);
    c.spnVehicleLength->setValue(unitInfo(SpeedUnit::Kmh).defaultLength);
    c.lblVehicleLength =
        captionFor("lblVehicleLength", QStringLiteral("Vehicle len&gth:"), c.spnVehicleLength);
    for (QWidget* widget :
         {static_cast<QWidget*>(c.btnSpeedColorGrid), static_cast<QWidget*>(c.btnSpeedContour),
          static_cast<QWidget*>(c.cmbSpeedUnit), static_cast<QWidget*>(c.spnVehicleLength)}) {
        widget->setToolTip(tip);
    }
}

SpeedSettings readSpeedSettings(const MainControls& c) {
    const SpeedUnit unit = boxUnit(*c.spnVehicleLength);
    return {unit, c.spnVehicleLength->value()};
}

void changeSpeedUnit(MainControls& c) {
    QDoubleSpinBox& box = *c.spnVehicleLength;
    const SpeedUnit from = boxUnit(box);
    const SpeedUnit to = c.cmbSpeedUnit->currentIndex() == 1 ? SpeedUnit::Mph : SpeedUnit::Kmh;
    if (from == to) {
        return;
    }
    const double metres = box.value() * unitInfo(from).metresPerLengthUnit;
    setLengthRange(box, to);
    box.setValue(std::round(metres / unitInfo(to).metresPerLengthUnit * 10.0) / 10.0);
}

}  // namespace quorvane
