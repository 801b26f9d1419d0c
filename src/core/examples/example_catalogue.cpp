// SPDX-License-Identifier: GPL-3.0-or-later
#include "examples/example_catalogue.h"

#include "circuit/datafile_text.h"
#include "files/file_io.h"
#include "files/installed_data.h"
#include "kelvor_error.h"
#include "text/eng_value.h"
#include "text/words.h"

namespace kelvor {

namespace {

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = line.find('|', start);
        fields.push_back(TrimSpacesAndControls(line.substr(start, bar - start)));
        if (bar == std::string::npos) {
            return fields;
        }
        start = bar + 1;
    }
}

std::string DatafileTitle(const std::filesystem::path& file) {
    const std::vector<std::string> lines = SplitDatafileLines(ReadWholeFile(file));
    return lines.empty() ? std::string() : NthWord(lines.front(), 1);
}

} // namespace

std::vector<ExampleEntry> ReadExampleCatalogue(const std::filesystem::path& folder) {
    const std::vector<std::string> lines =
        SplitDatafileLines(ReadWholeFile(folder / kExampleIndexName));
    std::vector<ExampleEntry> examples;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string line = TrimSpacesAndControls(lines[index]);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::vector<std::string> fields = SplitFields(line);
        ExampleEntry entry;
        bool ok = fields.size() == 4 && IsPlainFileName(fields[0]);
        if (ok) {
            entry.fileName = fields[0];
            entry.viewFrom = ParseEngValue(fields[1], ok);
            entry.viewTo = ParseEngValue(fields[2], ok);
            entry.description = fields[3];
        }
        if (!ok || !(entry.viewFrom > 0 && entry.viewTo > entry.viewFrom)) {
            throw KelvorError((folder / kExampleIndexName).string() + " line " +
                              std::to_string(index + 1) +
                              ": expected FILE.DAT|from|to|description with 0 < from < to");
        }
        entry.title = DatafileTitle(folder / entry.fileName);
        examples.push_back(std::move(entry));
    }
    return examples;
}

std::filesystem::path FindExamplesFolder() {
    const std::filesystem::path installed = InstalledDataFolder();
    for (const std::filesystem::path& candidate :
         {installed.empty() ? installed : installed / "examples",
          std::filesystem::path(KELVOR_SOURCE_EXAMPLES_DIR)}) {
        std::error_code error;
        if (!candidate.empty() &&
            std::filesystem::is_regular_file(candidate / kExampleIndexName, error)) {
            return candidate;
        }
    }
    return {};
}

void CopyExample(const std::filesystem::path& examplesFolder, const ExampleEntry& example,
                 const std::filesystem::path& targetFolder) {
    WriteFileAtomically(targetFolder / example.fileName,
                        ReadWholeFile(examplesFolder / example.fileName), WriteDurability::Durable,
                        LinkPolicy::Refuse);
}

} // namespace kelvor
