// Any bytes as a ".station" file: consistent tables or our Error, never more tables than the
// bytes hold, and the file reader agrees with the decoder. Tables are compared through their
// encoding: bit for bit, NaN included.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/error.h"
#include "definitions/station_file.h"
#include "fuzz_files.h"

namespace {

// The encoding of the tables `read` returns, or nothing when it refuses them. The encoder
// refuses tables whose sizes disagree with their station count: its Error is not caught, so
// libFuzzer reports it.
template <typename Read>
std::optional<std::string> encoded(const Read& read) {
    std::optional<quorvane::StationTables> tables;
    try {
        tables = read();
    } catch (const quorvane::Error&) {
        return std::nullopt;
    }
    return quorvane::encodeStationFile(*tables);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace quorvane;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto path = fuzz::writeInput({data, size}, ".station");
    const std::optional<std::string> decoded =
        encoded([&] { return decodeStationFile(bytes, "fuzz.station"); });
    fuzz::require(decoded == encoded([&] { return readStationFile(path); }));
    // No more tables than the bytes hold; what is written reads back as the same tables.
    fuzz::require(!decoded ||
                  (decoded->size() <= size &&
                   encoded([&] { return decodeStationFile(*decoded, "again"); }) == decoded));
    return 0;
}
