// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/state/window_registry.h"

#include "app/bode/bode_window.h"
#include "app/editors/form_editor_window.h"
#include "app/editors/record_listing_window.h"
#include "app/editors/text_editor_window.h"
#include "app/graphs/frequency_scale_window.h"
#include "app/graphs/graph_page_setup_window.h"
#include "app/graphs/graph_parameters_window.h"
#include "app/graphs/graph_window.h"
#include "app/help/help_window.h"
#include "app/printing/page_setup_window.h"
#include "app/printing/printing_window.h"
#include "app/response/response_window.h"
#include "app/shell/image_processing_window.h"
#include "app/shell/main_window.h"
#include "app/shell/setup_window.h"
#include "app/timeresp/pulse_window.h"
#include "app/timeresp/square_wave_window.h"

namespace kelvor::app {

WindowRegistry::WindowRegistry(AppState& state) : state_(state) {}

WindowRegistry::~WindowRegistry() = default;

void WindowRegistry::SetMain(TFormMain* main) {
    if (main == nullptr) {
        // The windows it parents go with it.
        const auto forget = [](auto& slot) {
            if (!slot.owned) {
                slot.window = nullptr;
            }
        };
        forget(help_);
        forget(response_);
        forget(listing_);
        forget(printing_);
        forget(pageSetup_);
        forget(graph_);
        forget(freqScales_);
        forget(graphParameters_);
        forget(graphPageSetup_);
        forget(textEditor_);
        forget(formEditor_);
        forget(squareWave_);
        forget(pulse_);
        forget(setup_);
        forget(imageProcessing_);
        forget(bode_);
    }
    main_ = main;
}

template <class Window> Window& WindowRegistry::Get(Slot<Window>& slot) {
    if (slot.window == nullptr) {
        if (main_ != nullptr) {
            slot.window = new Window(state_, main_);
        } else {
            slot.owned = std::make_unique<Window>(state_);
            slot.window = slot.owned.get();
        }
    }
    return *slot.window;
}

TFormHelp& WindowRegistry::Help() {
    return Get(help_);
}

TFormResponse& WindowRegistry::Response() {
    return Get(response_);
}

TFormChk& WindowRegistry::Listing() {
    return Get(listing_);
}

TFormPrinting& WindowRegistry::Printing() {
    return Get(printing_);
}

TFormPSet& WindowRegistry::PageSetup() {
    return Get(pageSetup_);
}

TFormVGA& WindowRegistry::Graph() {
    return Get(graph_);
}

TFormFreqScales& WindowRegistry::FreqScales() {
    return Get(freqScales_);
}

TFormFResults& WindowRegistry::GraphParameters() {
    return Get(graphParameters_);
}

TFormGraphSetUp& WindowRegistry::GraphPageSetup() {
    return Get(graphPageSetup_);
}

TFormEdt& WindowRegistry::TextEditor() {
    return Get(textEditor_);
}

TFormEdt2& WindowRegistry::FormEditor() {
    return Get(formEditor_);
}

TFormSqWMenu& WindowRegistry::SquareWave() {
    return Get(squareWave_);
}

TFormPMenu& WindowRegistry::Pulse() {
    return Get(pulse_);
}

TFormSetup& WindowRegistry::Setup() {
    return Get(setup_);
}

TFormImgProc& WindowRegistry::ImageProcessing() {
    return Get(imageProcessing_);
}

TFormBode& WindowRegistry::Bode() {
    return Get(bode_);
}

} // namespace kelvor::app
