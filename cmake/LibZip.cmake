# libzip's own CMake config wants the zipcmp/zipmerge/ziptool executables installed; its
# pkg-config file works with libzip-dev alone, so we use that.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
add_library(LibZip::LibZip ALIAS PkgConfig::LIBZIP)
