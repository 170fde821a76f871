#include "cli/speed_options.h"

#include <charconv>
#include <optional>
#include <string>

#include "core/day.h"
#include "views/road_measures.h"

namespace quorvane::cli {

namespace {

// A plain decimal number, or none for anything else.
std::optional<double> decimal(std::string_view text) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> givenMetres(const Arguments& arguments) {
    const auto text = arguments.value(kVehicleLengthOption.name);
    if (!text) {
        return std::nullopt;
    }
    const auto metres = decimal(*text);
    if (!metres || !acceptedVehicleLength(*metres)) {
        throw UsageError("--vehicle-length takes metres from 2 to 30, not \"" + std::string(*text) +
                         "\"");
    }
    return metres;
}

SpeedUnit givenUnit(const Arguments& arguments) {
    const auto text = arguments.value(kSpeedUnitOption.name);
    if (!text || *text == unitInfo(SpeedUnit::Kmh).text) {
        return SpeedUnit::Kmh;
    }
    if (*text == unitInfo(SpeedUnit::Mph).text) {
        return SpeedUnit::Mph;
    }
    throw UsageError("--unit takes km/h or mph, not \"" + std::string(*text) + "\"");
}

}  // namespace

SpeedSettings speedSettings(const Arguments& arguments) {
    const SpeedUnit unit = givenUnit(arguments);
    SpeedSettings settings = SpeedSettings::defaults(unit);
    if (const auto metres = givenMetres(arguments)) {
        settings = SpeedSettings::fromMetres(unit, *metres);
    }
    if (const auto text = arguments.value(kFreeFlowSpeedOption.name)) {
        const auto speed = decimal(*text);
        settings.freeFlowSpeed = speed.value_or(0.0);
        if (!speed || !acceptedFreeFlowSpeed(settings)) {
            throw UsageError("--free-flow-speed takes 60 to 140 km/h (37.3 to 86.9 mph), not \"" +
                             std::string(*text) + "\"");
        }
    }
    return settings;
}

double thresholdKmh(const Arguments& arguments) {
    const auto text = arguments.value(kThresholdOption.name);
    if (!text) {
        return kDefaultThresholdKmh;
    }
    const auto value = decimal(*text);
    if (!value || !acceptedThresholdKmh(*value)) {
        throw UsageError("--threshold takes 30 to 130 km/h, not \"" + std::string(*text) + "\"");
    }
    return *value;
}

void noteSpeedFallback(const Day& day, const SpeedSettings& settings, std::ostream& err) {
    if (settings.estimate == SpeedEstimate::Calibrated && !day.calibration) {
        err << kLoadedDaySpeedNote << "\n";
    }
}

}  // namespace quorvane::cli
