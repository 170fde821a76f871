#pragma once

// Archives, lists and days the engine tests write for themselves.

#include <filesystem>
#include <string>
#include <vector>

#include "core/unzip.h"
#include "definitions/station_list.h"
#include "support/test_files.h"

namespace quorvane::test {

// An Unzip that has read the member list of `path`, reading short deflated members whole or
// streaming every member.
inline Unzip listed(const std::filesystem::path& path, bool wholeMemberInflate = true) {
    Unzip archive;
    archive.setWholeMemberInflate(wholeMemberInflate);
    archive.setZipFileName(path);
    archive.zipList();
    return archive;
}

// An archive of `members` (dir/day.traffic), a station list and a one-road list in one folder.
struct ListedDay {
    TempDir dir;
    Unzip archive;
    StationList stations;

    ListedDay(const std::string& stationList, const std::vector<ZipMember>& members) {
        writeFile(dir / "VURSta2Det.list", stationList);
        writeFile(dir / "VURRoad2Sta.list", "Test Road, 1,\r\n");
        writeZip(dir / "day.traffic", members);
        archive = listed(dir / "day.traffic");
        stations = StationList::buildList(dir.path());
    }
};

}  // namespace quorvane::test
