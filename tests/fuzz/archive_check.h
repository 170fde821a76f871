#pragma once

#include <filesystem>

namespace quorvane::fuzz {

// Lists the archive, writes its member report, extracts and grades every detector, and builds
// the station tables and detector health of a list made from its detectors, sequentially and
// (when `threaded`) on reader threads. Returns normally or through quorvane::Error only; traps
// when the two builds differ or a grade's counts do not add up.
void exerciseArchive(const std::filesystem::path& archive, bool threaded);

}  // namespace quorvane::fuzz
