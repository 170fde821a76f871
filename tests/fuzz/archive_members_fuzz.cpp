// Valid zip archives with arbitrary member names and contents: the input chooses the members,
// libzip writes the archive (sometimes one byte is changed afterwards), the reader reads it.
#include <zip.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive_check.h"
#include "base/error.h"
#include "fuzz_files.h"

namespace {

std::string memberName(FuzzedDataProvider& input) {
    static const char* const kExtensions[] = {"v30", "o30", "c30", "V30", "o30.x", ""};
    const int kind = input.ConsumeIntegralInRange(0, 3);
    if (kind == 0) {
        return input.ConsumeRandomLengthString(24);
    }
    const int32_t number =
        kind == 1 ? input.ConsumeIntegral<int32_t>() : input.ConsumeIntegralInRange(-5, 40);
    return std::to_string(number) + "." + input.PickValueInArray(kExtensions);
}

// A short pattern repeated to a length around what is used, or around the longest members
// still inflated whole.
std::string memberBytes(FuzzedDataProvider& input) {
    static const std::size_t kSizes[] = {0,    1,    2879, 2880, 2881, 3904,
                                         3905, 5759, 5760, 6000, 6784, 6785};
    const std::size_t size = input.PickValueInArray(kSizes);
    const std::string pattern =
        input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, 64));
    std::string bytes(size, '\x07');
    for (std::size_t i = 0; i < size && !pattern.empty(); ++i) {
        bytes[i] = pattern[i % pattern.size()];
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto path = quorvane::fuzz::writeInput({}, ".traffic");
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        return 0;
    }
    std::vector<std::string> contents(input.ConsumeIntegralInRange(0, 12));
    for (std::string& bytes : contents) {
        const std::string name = memberName(input);
        bytes = memberBytes(input);
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, 0);
        if (index < 0) {
            zip_source_free(source);
            continue;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 input.ConsumeBool() ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return 0;
    }
    // Sometimes one byte changed: a member's data, sizes or CRC broken in a sound archive.
    // (libzip writes no file for an archive without members.)
    std::error_code noFile;
    const auto length = static_cast<std::streamoff>(std::filesystem::file_size(path, noFile));
    if (!noFile && length > 0 && input.ConsumeBool()) {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        const std::streamoff at = input.ConsumeIntegralInRange<std::streamoff>(0, length - 1);
        char byte = 0;
        file.seekg(at).get(byte);
        file.seekp(at).put(static_cast<char>(byte ^ input.ConsumeIntegralInRange(1, 255)));
    }
    try {
        quorvane::fuzz::exerciseArchive(path, input.ConsumeBool());
    } catch (const quorvane::Error&) {
    }
    return 0;
}
