#pragma once

#include <filesystem>

namespace quorvane::fuzz {

// Lists the archive, writes its member report, extracts every detector, and builds the station
// tables of a list made from its detectors, sequentially and (when `threaded`) on reader
// threads; the listing, the extractions and the sequential build once more with every member
// streamed (no whole-member inflate). Returns normally or through quorvane::Error only; traps
// when any two of these differ.
void exerciseArchive(const std::filesystem::path& archive, bool threaded);

}  // namespace quorvane::fuzz
