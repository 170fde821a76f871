# libdeflate inflates a whole member into a buffer of known size in one call, faster than zlib's
# streaming inflate; Debian's libdeflate-dev ships a pkg-config file and no CMake config.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
add_library(LibDeflate::LibDeflate ALIAS PkgConfig::LIBDEFLATE)
