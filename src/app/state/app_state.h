// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/analysis_mode.h"
#include "app/state/datafile_events.h"
#include "app/state/graph_state.h"
#include "app/state/main_window_requests.h"
#include "app/state/window_registry.h"
#include "circuit/circuit_state.h"
#include "circuit/datafile_reader.h"
#include "messages.h"
#include "settings/settings_file.h"
#include "solver/response.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QObject;
class QPrinter;

namespace kelvor::app {

class Dialogs;

// Why an analysis does not start: the Datafile has errors.
inline constexpr const char* kDatafileErrorsWarning = "\r\nCannot Run  -  Error in Datafile  ";

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

// The pauses that let the user see a finished step before the next window covers it.
struct Pauses {
    int afterSweepMs = 1000;         // the full progress bar of a finished sweep
    int beforeGraphPrintMs = 1200;   // the printing window, before the graph goes out
    int beforeDatafilePrintMs = 600; // the printing window, before the Datafile goes out
    int diagnosticMs = 1000;         // each of the two pauses of the setup window's TEST 3
};

// The application state that the windows share, created once by the application and handed to
// each window, so that a test builds a fresh one in a line.
struct AppState {
    AppState(std::filesystem::path folder, MessageSink& sink, Dialogs& dialogChoices);
    ~AppState();

    std::filesystem::path workingFolder;
    MessageSink& messages;
    Dialogs& dialogs;
    ShellState shell;
    CircuitState circuit;
    Settings settings;
    ResponsePoint response;
    ResponseSolver solver;
    bool TimeResponse = false; // the response window reports each computation's duration
    bool BigPcbBitmap = false; // the test pattern also tiles "pcb Mk14.bmp" into a big picture
    // The user has been told why KELVOR.INI cannot be written; not again until it can.
    bool settingsFaultReported = false;
    GraphState graph;
    Pauses pauses;
    WindowRegistry windows{*this};
    DatafileEvents datafileEvents;
    MainWindowRequests mainWindowRequests;

    // The one printer of the run: its orientation survives between jobs.
    QPrinter& printer();
    // The print job drawing on the printer while the windows stay live, if any. It ends before
    // the printer goes, dropping its pages, when the program ends during it.
    std::unique_ptr<QObject> printJob;

    std::filesystem::path File(const std::string& name) const { return workingFolder / name; }
    std::filesystem::path DatafilePath() const { return File(shell.DatafileName); }

    // Parses the current Datafile into the circuit state and the record file; file faults
    // throw KelvorError.
    ParseOutcome ParseCurrentDatafile(ParseMode mode = ParseMode::Silent);
    // The silent parse every analysis starts with; a failure is reported here and gives nullopt.
    std::optional<ParseOutcome> ParseForAnalysis();

    // Reads the settings file again; a fault is shown and the settings stay as they were.
    void ReloadSettings();
    // Keeps the settings in the settings file. A failure is reported with its reason, once: later
    // failures stay quiet until the file can be written again, so that a folder that cannot be
    // written does not answer every choice with the same box. The choices hold for the run
    // either way.
    void KeepSettings();

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace kelvor::app
