// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvor::render {

// One page of GRAPHS.PDF: a graph as the graph window draws it, and what it shows.
struct ExamplePage {
    std::string title;
    std::string caption;
    QImage picture;
};

// The example graphs: the amplitude, square-wave and pulse responses of the sample Datafile
// and of example Datafiles from the samples folder, each drawn by the same code as the graph
// window. The pictures carry each Datafile's own date, so that the document does not change
// from one build to the next. Throws KelvorError when a Datafile is missing or does not parse.
std::vector<ExamplePage> BuildExamplePages(const std::filesystem::path& samplesFolder);

// One page per graph, landscape, the caption above the picture. Written through a temporary
// file; throws KelvorError when it cannot be written.
void WriteGraphsDocument(const std::vector<ExamplePage>& pages, const std::filesystem::path& path);

} // namespace kelvor::render
