#include "app/shell/app_state.h"

#include <QPrinter>

namespace kelvor::app {

AppState::AppState(std::filesystem::path folder, MessageSink& sink)
    : workingFolder(std::move(folder)), messages(sink) {}

AppState::~AppState() = default;

QPrinter& AppState::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

} // namespace kelvor::app
