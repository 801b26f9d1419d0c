// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <type_traits>

class QWidget;

namespace kelvor::app {

struct AppState;
class TFormMain;
class TFormHelp;
class TFormResponse;
class TFormChk;
class TFormPrinting;
class TFormPSet;
class TFormVGA;
class TFormFreqScales;
class TFormFResults;
class TFormGraphSetUp;
class TFormEdt;
class TFormEdt2;
class TFormSqWMenu;
class TFormPMenu;
class TFormSetup;
class TFormImgProc;
class TFormBode;

// Every window is made once, when it is first asked for, and lives for the whole run: as a child
// of the main window when there is one, otherwise here. A window that opens another asks for it
// here. A test may put a window of its own in a slot before anything asks for that window.
class WindowRegistry {
public:
    explicit WindowRegistry(AppState& state);
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    // The main window: it parents the windows made from now on. Null when it goes, together
    // with the windows it parents.
    void SetMain(TFormMain* main);
    TFormMain* Main() const { return main_; }

    TFormHelp& Help();
    TFormResponse& Response();
    TFormChk& Listing();
    TFormPrinting& Printing();
    TFormPSet& PageSetup();
    TFormVGA& Graph();
    TFormFreqScales& FreqScales();
    TFormFResults& GraphParameters();
    TFormGraphSetUp& GraphPageSetup();
    TFormEdt& TextEditor();
    TFormEdt2& FormEditor();
    TFormSqWMenu& SquareWave();
    TFormPMenu& Pulse();
    TFormSetup& Setup();
    TFormImgProc& ImageProcessing();
    TFormBode& Bode();

    // A window made elsewhere in place of the one the registry would make; null empties the
    // slot. The caller keeps it alive for as long as it stays in the slot.
    template <class Window> void Use(Window* window) { SlotOf<Window>().window = window; }
    // Whether the window has been made (or put in place), without making it.
    template <class Window> bool Has() { return SlotOf<Window>().window != nullptr; }

private:
    template <class Window> struct Slot {
        Window* window = nullptr;
        std::unique_ptr<Window> owned; // made while there was no main window
    };
    template <class Window> Window& Get(Slot<Window>& slot);
    template <class Window> Slot<Window>& SlotOf() {
        if constexpr (std::is_same_v<Window, TFormHelp>) {
            return help_;
        } else if constexpr (std::is_same_v<Window, TFormResponse>) {
            return response_;
        } else if constexpr (std::is_same_v<Window, TFormChk>) {
            return listing_;
        } else if constexpr (std::is_same_v<Window, TFormPrinting>) {
            return printing_;
        } else if constexpr (std::is_same_v<Window, TFormPSet>) {
            return pageSetup_;
        } else if constexpr (std::is_same_v<Window, TFormVGA>) {
            return graph_;
        } else if constexpr (std::is_same_v<Window, TFormFreqScales>) {
            return freqScales_;
        } else if constexpr (std::is_same_v<Window, TFormFResults>) {
            return graphParameters_;
        } else if constexpr (std::is_same_v<Window, TFormGraphSetUp>) {
            return graphPageSetup_;
        } else if constexpr (std::is_same_v<Window, TFormEdt>) {
            return textEditor_;
        } else if constexpr (std::is_same_v<Window, TFormEdt2>) {
            return formEditor_;
        } else if constexpr (std::is_same_v<Window, TFormSqWMenu>) {
            return squareWave_;
        } else if constexpr (std::is_same_v<Window, TFormPMenu>) {
            return pulse_;
        } else if constexpr (std::is_same_v<Window, TFormSetup>) {
            return setup_;
        } else if constexpr (std::is_same_v<Window, TFormBode>) {
            return bode_;
        } else {
            static_assert(std::is_same_v<Window, TFormImgProc>, "a window the registry makes");
            return imageProcessing_;
        }
    }

    AppState& state_;
    TFormMain* main_ = nullptr;
    Slot<TFormHelp> help_;
    Slot<TFormResponse> response_;
    Slot<TFormChk> listing_;
    Slot<TFormPrinting> printing_;
    Slot<TFormPSet> pageSetup_;
    Slot<TFormVGA> graph_;
    Slot<TFormFreqScales> freqScales_;
    Slot<TFormFResults> graphParameters_;
    Slot<TFormGraphSetUp> graphPageSetup_;
    Slot<TFormEdt> textEditor_;
    Slot<TFormEdt2> formEditor_;
    Slot<TFormSqWMenu> squareWave_;
    Slot<TFormPMenu> pulse_;
    Slot<TFormSetup> setup_;
    Slot<TFormImgProc> imageProcessing_;
    Slot<TFormBode> bode_;
};

} // namespace kelvor::app
