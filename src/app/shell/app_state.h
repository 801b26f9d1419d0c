#pragma once

#include "app/graphs/graph_state.h"
#include "app/shell/analysis_mode.h"
#include "app/shell/window_registry.h"
#include "circuit/circuit_state.h"
#include "messages.h"
#include "settings/settings_file.h"
#include "solver/response.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

class QPrinter;

namespace kelvor::app {

// What the main window owns and every window reads: the current Datafile, which command
// opened a window, the reopen flags and the help position.
struct ShellState {
    std::string DatafileName = " Untitled "; // at most 30 characters, no folder
    std::string TodayText;
    kelvor::app::AnalysisMode AnalysisMode = kelvor::app::AnalysisMode::None;
    bool DatafileChanged = true;
    bool NewDatafile = false;
    bool ReopenFreqScales = false;
    bool ReopenSquareWave = false;
    bool ReopenPulse = false;
    int32_t HelpPosition = 0;
    std::string PrintJobName = " Untitled "; // at most 30 characters
};

// The application state that the windows share, created once by the application and handed to
// each window, so that a test builds a fresh one in a line.
struct AppState {
    AppState(std::filesystem::path folder, MessageSink& sink);
    ~AppState();

    std::filesystem::path workingFolder;
    MessageSink& messages;
    ShellState shell;
    CircuitState circuit;
    Settings settings;
    ResponsePoint response;
    ResponseSolver solver;
    bool TimeResponse = false; // the response window reports each computation's duration
    bool BigPcbBitmap = false; // the test pattern also tiles "pcb Mk14.bmp" into a big picture
    GraphState graph;
    Windows windows;

    // The one printer of the run: its orientation survives between jobs.
    QPrinter& printer();

    std::filesystem::path File(const std::string& name) const { return workingFolder / name; }
    std::filesystem::path DatafilePath() const { return File(shell.DatafileName); }

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace kelvor::app
