// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kelvor::app {

// A place in the help document: the offset of a heading in its plain text (paragraphs joined by
// one line break), and the heading that starts there. The document test checks every one.
struct HelpPlace {
    int32_t position;
    const char* heading;
};

namespace help {
inline constexpr HelpPlace kIntroduction{1466, "1.  Introduction"};
inline constexpr HelpPlace kRunningKelvor{4480, "2.  Running KELVOR"};
inline constexpr HelpPlace kOpenDatafile{6050, "2.1  Open a Datafile"};
inline constexpr HelpPlace kNewCircuit{6287, "2.2  Defining a New Circuit"};
inline constexpr HelpPlace kEditComponents{7040, "2.3  Display/Edit Component Values"};
inline constexpr HelpPlace kDatafileFormat{7466, "Datafile Format and Component Lines"};
inline constexpr HelpPlace kPrintComponents{13855, "2.4  Print Component Values"};
inline constexpr HelpPlace kCalculateResponse{14280, "2.5  Calculate Response"};
inline constexpr HelpPlace kAmplitudeResponse{16807, "2.6  Graphs/Amplitude Response"};
inline constexpr HelpPlace kAmplitudeGraphWindow{18453, "The Amplitude Graph Window and Printing"};
inline constexpr HelpPlace kSquareWaveResponse{20200, "2.7  Graphs/SquareWave Response"};
inline constexpr HelpPlace kSquareWaveGraphWindow{21073, "The Square-Wave Graph Window"};
inline constexpr HelpPlace kPulseResponse{21760, "2.8  Graphs/Pulse Response"};
inline constexpr HelpPlace kHelpAndSetup{22650, "2.9  Help and Setup"};
inline constexpr HelpPlace kSampleDatafiles{23771, "3.  Sample Datafiles"};
inline constexpr HelpPlace kHardwareAndSoftware{32450, "4.  Hardware & Software"};
inline constexpr HelpPlace kTolvarnSoftware{33450, "5.  TOLVARN Software"};
inline constexpr HelpPlace kBodeAnalyser{33844, "6.  Bode Analyser"};
inline constexpr HelpPlace kToleranceAnalysis{36460, "7.  Tolerance Analysis"};
inline constexpr HelpPlace kSchematicView{39630, "8.  Schematic View"};
inline constexpr HelpPlace kNoiseAnalysis{41432, "9.  Noise and Sensitivity"};

inline constexpr HelpPlace kEveryPlace[] = {
    kIntroduction,      kRunningKelvor,        kOpenDatafile,       kNewCircuit,
    kEditComponents,    kDatafileFormat,       kPrintComponents,    kCalculateResponse,
    kAmplitudeResponse, kAmplitudeGraphWindow, kSquareWaveResponse, kSquareWaveGraphWindow,
    kPulseResponse,     kHelpAndSetup,         kSampleDatafiles,    kHardwareAndSoftware,
    kTolvarnSoftware,   kBodeAnalyser,         kToleranceAnalysis,  kSchematicView,
    kNoiseAnalysis,
};
} // namespace help

// The Help menu: its captions are the menu's own wording, not the headings.
struct HelpMenuItem {
    const char* caption;
    HelpPlace place;
    bool separatorAfter;
};

inline constexpr HelpMenuItem kHelpMenu[] = {
    {"1.  Introduction", help::kIntroduction, true},
    {"2.  Running KELVOR", help::kRunningKelvor, false},
    {"     2.1  Open a Datfile", help::kOpenDatafile, false},
    {"     2.2  Defining a New Circuit", help::kNewCircuit, false},
    {"     2.3  Display/Edit Component Values", help::kEditComponents, false},
    {"     2.4  Print Component Values", help::kPrintComponents, false},
    {"     2.5  Calculate Response", help::kCalculateResponse, false},
    {"     2.6  Graphs/Amplitude Response", help::kAmplitudeResponse, false},
    {"     2.7  Graphs/SquareWave Response", help::kSquareWaveResponse, false},
    {"     2.8  Graphs/Pulse Response", help::kPulseResponse, false},
    {"     2.9  Help and Setup", help::kHelpAndSetup, true},
    {"3.  Sample Datafiles", help::kSampleDatafiles, true},
    {"4.  Hardware && Software", help::kHardwareAndSoftware, true},
    {"5.  TOLVARN Software", help::kTolvarnSoftware, true},
    {"6.  Bode Analyser", help::kBodeAnalyser, true},
    {"7.  Tolerance Analysis", help::kToleranceAnalysis, true},
    {"8.  Schematic View", help::kSchematicView, false},
};

} // namespace kelvor::app
