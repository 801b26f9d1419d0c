// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "examples/example_catalogue.h"
#include "files/file_io.h"
#include "solver/response.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelvor::testing {

// One example Datafile (or the sample) parsed and loaded, with its range to view.
struct ExampleCircuit {
    std::string name;
    std::string text;
    LoadedCircuit circuit;
    std::vector<int> sourceLines;
    long double viewFrom = 0, viewTo = 0;
};

inline ExampleCircuit LoadExampleText(std::string name, std::string text, long double from,
                                      long double to) {
    CircuitState state;
    ParseOutcome outcome = ParseDatafileText(text, state, "7 Dec 2026");
    EXPECT_TRUE(outcome.ok) << name << outcome.report;
    return ExampleCircuit{std::move(name),
                          std::move(text),
                          MakeLoadedCircuit(std::move(outcome.records), state),
                          outcome.sourceLines,
                          from,
                          to};
}

// Every shipped example and the sample Datafile.
inline std::vector<ExampleCircuit> AllExampleCircuits() {
    const std::filesystem::path folder = KELVOR_EXAMPLES_DIR;
    std::vector<ExampleCircuit> circuits;
    for (const ExampleEntry& entry : ReadExampleCatalogue(folder)) {
        circuits.push_back(LoadExampleText(entry.fileName, ReadWholeFile(folder / entry.fileName),
                                           entry.viewFrom, entry.viewTo));
    }
    circuits.push_back(
        LoadExampleText("HPFILTER.DAT", SampleDatafileText("7 Dec 2026"), 300, 3000));
    return circuits;
}

// `count` log-spaced frequencies from a decade below to a decade above the range.
inline std::vector<long double> WideFrequencies(const ExampleCircuit& example, int count) {
    const long double low = std::log10(example.viewFrom) - 1;
    const long double high = std::log10(example.viewTo) + 1;
    std::vector<long double> frequencies;
    for (int index = 0; index < count; ++index) {
        frequencies.push_back(std::pow(10.0L, low + (high - low) * index / (count - 1)));
    }
    return frequencies;
}

} // namespace kelvor::testing
