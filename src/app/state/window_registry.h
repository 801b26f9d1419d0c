// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <memory>
#include <tuple>

namespace kelvor::app {

struct AppState;

// The windows the registry makes, listed once, in the order the main window makes them at
// start-up.
template <class... Window> struct WindowList {};
using RegisteredWindows =
    WindowList<class TFormSetup, class TFormGraphSetUp, class TFormResponse, class TFormHelp,
               class TFormPrinting, class TFormVGA, class TFormChk, class TFormEdt,
               class TFormFreqScales, class TFormFResults, class TFormSqWMenu, class TFormPMenu,
               class TFormPSet, class TFormEdt2, class TFormBode, class TFormImgProc>;

// Every window is made once, when it is first asked for, and lives for the whole run: as a child
// of the main window when there is one, otherwise here. A window that opens another asks for it
// here (Get<TFormVGA>()); the caller includes that window's header, so the registry itself knows
// no window and sits below them all. A test may put a window of its own in a slot before
// anything asks for that window.
class WindowRegistry {
    template <class Window> struct Slot {
        QWidget* window = nullptr;
        std::unique_ptr<QWidget> owned; // made while there was no main window
    };
    template <class... Window> static std::tuple<Slot<Window>...> SlotsOf(WindowList<Window...>);
    using Slots = decltype(SlotsOf(RegisteredWindows{}));

public:
    explicit WindowRegistry(AppState& state);
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    // The main window: it parents the windows made from now on. Null when it goes, together
    // with the windows it parents.
    void SetMain(QWidget* main);

    // Makes each listed window not made yet, in order: MakeEach(RegisteredWindows{}) makes them
    // all. The caller sees every one of them.
    template <class... Window> void MakeEach(WindowList<Window...>) { (Get<Window>(), ...); }

    template <class Window> Window& Get() {
        Slot<Window>& slot = std::get<Slot<Window>>(slots_);
        if (slot.window == nullptr) {
            if (main_ != nullptr) {
                slot.window = new Window(state_, main_);
            } else {
                slot.owned = std::make_unique<Window>(state_);
                slot.window = slot.owned.get();
            }
        }
        return static_cast<Window&>(*slot.window);
    }

    // A window made elsewhere in place of the one the registry would make; null empties the
    // slot. The caller keeps it alive for as long as it stays in the slot.
    template <class Window> void Use(Window* window) {
        std::get<Slot<Window>>(slots_).window = window;
    }
    // Whether the window has been made (or put in place), without making it.
    template <class Window> bool Has() const {
        return std::get<Slot<Window>>(slots_).window != nullptr;
    }

private:
    AppState& state_;
    QWidget* main_ = nullptr;
    Slots slots_;
};

} // namespace kelvor::app
