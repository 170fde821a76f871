#include "base/station_tables.h"

#include "base/error.h"

namespace quorvane {

StationTables StationTables::zeroed(int stationCount) {
    if (stationCount <= 0) {
        throw Error(errc::kSubscriptOutOfRange,
                    "Subscript out of range: station tables need at least one station");
    }
    StationTables tables;
    tables.stationCount = stationCount;
    tables.volume.assign(cell(0, stationCount), 0);
    tables.occupancy.assign(cell(0, stationCount), 0.0f);
    return tables;
}

}  // namespace quorvane
