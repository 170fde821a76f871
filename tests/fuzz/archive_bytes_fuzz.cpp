// Any bytes as a ".traffic" archive.
#include <cstddef>
#include <cstdint>

#include "archive_check.h"
#include "base/error.h"
#include "fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto path = quorvane::fuzz::writeInput({data, size}, ".traffic");
    try {
        quorvane::fuzz::exerciseArchive(path, size % 4 == 0);
    } catch (const quorvane::Error&) {
    }
    return 0;
}
