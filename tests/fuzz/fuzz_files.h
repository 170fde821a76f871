#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

namespace quorvane::fuzz {

// The readers take paths: each run writes its input to one file of this process.
inline std::filesystem::path writeInput(std::span<const uint8_t> bytes, const char* suffix) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("quorvane-fuzz-" + std::to_string(::getpid()) + suffix);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A promise of the reader: when broken, a crash, so that libFuzzer keeps the input.
inline void require(bool promiseKept) {
    if (!promiseKept) {
        __builtin_trap();
    }
}

}  // namespace quorvane::fuzz
