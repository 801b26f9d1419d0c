// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/state/window_registry.h"

#include <cstddef>
#include <utility>

namespace kelvor::app {

WindowRegistry::WindowRegistry(AppState& state) : state_(state) {}

WindowRegistry::~WindowRegistry() {
    // Last listed, first gone: windows made without a main window may know the ones listed
    // before them.
    [this]<std::size_t... index>(std::index_sequence<index...>) {
        constexpr std::size_t count = sizeof...(index);
        (std::get<count - 1 - index>(slots_).owned.reset(), ...);
    }
    (std::make_index_sequence<std::tuple_size_v<Slots>>());
}

void WindowRegistry::SetMain(QWidget* main) {
    if (main == nullptr) {
        // The windows it parents go with it.
        std::apply([](auto&... slot) { ((slot.window = slot.owned ? slot.window : nullptr), ...); },
                   slots_);
    }
    main_ = main;
}

} // namespace kelvor::app
