# Qwt 6.1.4 as packaged by Debian 12 ships no CMake config, only a pkg-config file, and its
# qwt_series_store.h declares the destructor as a template-id (`~QwtSeriesStore<T>()`), which
# g++ 12 rejects in C++20 mode. We copy the headers into the build tree at configure time,
# drop the template arguments from that one declaration, and expose the result as Qwt::Qwt.
find_package(PkgConfig REQUIRED)
pkg_check_modules(QWT_PC REQUIRED Qt5Qwt6)

find_path(QWT_SYSTEM_INCLUDE_DIR qwt.h PATHS /usr/include/qwt ${QWT_PC_INCLUDE_DIRS} REQUIRED)
find_library(QWT_LIBRARY NAMES qwt-qt5 HINTS ${QWT_PC_LIBRARY_DIRS} REQUIRED)

set(QWT_PATCHED_ROOT "${CMAKE_BINARY_DIR}/qwt-patched")
set(QWT_PATCHED_DIR "${QWT_PATCHED_ROOT}/qwt")
file(GLOB _qwt_headers "${QWT_SYSTEM_INCLUDE_DIR}/*")
file(MAKE_DIRECTORY "${QWT_PATCHED_DIR}")
file(COPY ${_qwt_headers} DESTINATION "${QWT_PATCHED_DIR}")
file(READ "${QWT_PATCHED_DIR}/qwt_series_store.h" _store)
string(REPLACE "~QwtSeriesStore<T>();" "~QwtSeriesStore();" _store "${_store}")
string(REPLACE "explicit QwtSeriesStore<T>();" "explicit QwtSeriesStore();" _store "${_store}")
file(WRITE "${QWT_PATCHED_DIR}/qwt_series_store.h" "${_store}")

find_package(Qt5 REQUIRED COMPONENTS Widgets Svg PrintSupport OpenGL Concurrent)
add_library(Qwt::Qwt UNKNOWN IMPORTED)
set_target_properties(Qwt::Qwt PROPERTIES
    IMPORTED_LOCATION "${QWT_LIBRARY}"
    INTERFACE_COMPILE_DEFINITIONS "QWT_DLL"
    INTERFACE_LINK_LIBRARIES "Qt5::Widgets;Qt5::Svg;Qt5::PrintSupport;Qt5::OpenGL;Qt5::Concurrent")
# Both the plain directory (for <qwt_plot.h>) and its parent (for <qwt/qwt_plot.h>).
set_property(TARGET Qwt::Qwt PROPERTY INTERFACE_INCLUDE_DIRECTORIES
    "${QWT_PATCHED_DIR};${QWT_PATCHED_ROOT}")
set_property(TARGET Qwt::Qwt PROPERTY INTERFACE_SYSTEM_INCLUDE_DIRECTORIES
    "${QWT_PATCHED_DIR};${QWT_PATCHED_ROOT}")
