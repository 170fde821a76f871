#include "cli/headless_application.h"

#include <QApplication>
#include <clocale>

#include "charts/offscreen_platform.h"

namespace quorvane::cli {

HeadlessApplication::HeadlessApplication() {
    prepareOffscreenPlatform();
    application_ = std::make_unique<QApplication>(argc_, argv_);
    // QApplication takes the C locale from the environment; the engine's number formatting
    // and parsing stay those of the C locale, as in every other command.
    std::setlocale(LC_NUMERIC, "C");
}

HeadlessApplication::~HeadlessApplication() {
    application_.reset();
}

}  // namespace quorvane::cli
