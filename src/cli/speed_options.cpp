#include "cli/speed_options.h"

#include <charconv>
#include <optional>
#include <string>

namespace quorvane::cli {

namespace {

std::optional<double> givenMetres(const Arguments& arguments) {
    const auto text = arguments.value(kVehicleLengthOption.name);
    if (!text) {
        return std::nullopt;
    }
    double metres = 0.0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), metres);
    if (text->empty() || ec != std::errc() || end != text->data() + text->size() ||
        !acceptedVehicleLength(metres)) {
        throw UsageError("--vehicle-length takes metres from 2 to 30, not \"" + std::string(*text) +
                         "\"");
    }
    return metres;
}

}  // namespace

double vehicleLengthMetres(const Arguments& arguments) {
    return givenMetres(arguments).value_or(unitInfo(SpeedUnit::Kmh).defaultLength);
}

SpeedSettings speedSettings(const Arguments& arguments) {
    SpeedUnit unit = SpeedUnit::Kmh;
    if (const auto text = arguments.value(kSpeedUnitOption.name)) {
        if (*text == unitInfo(SpeedUnit::Mph).text) {
            unit = SpeedUnit::Mph;
        } else if (*text != unitInfo(SpeedUnit::Kmh).text) {
            throw UsageError("--unit takes km/h or mph, not \"" + std::string(*text) + "\"");
        }
    }
    if (const auto metres = givenMetres(arguments)) {
        return SpeedSettings::fromMetres(unit, *metres);
    }
    return SpeedSettings::defaults(unit);
}

}  // namespace quorvane::cli
