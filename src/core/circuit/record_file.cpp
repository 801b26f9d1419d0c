#include "circuit/record_file.h"

#include "kelvor_error.h"

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace kelvor {

namespace {

std::string Describe(const std::filesystem::path& path) {
    return path.filename().string();
}

} // namespace

void WriteRecordFile(const std::filesystem::path& path, const RecordList& records) {
    // A scratch file rewritten by every parse: a plain write is enough, but a short write must
    // not go unnoticed, or the solver would read the previous circuit.
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const ComponentRecord& record : records) {
        if (!out) {
            break;
        }
        const auto encoded = EncodeRecord(record);
        out.write(reinterpret_cast<const char*>(encoded.data()),
                  static_cast<std::streamsize>(encoded.size()));
    }
    if (out.is_open()) {
        out.close();
    }
    if (!out) {
        throw KelvorError("Cannot write record file " + Describe(path));
    }
}

RecordList ReadRecordFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw KelvorError("Record file " + Describe(path) + " does not exist");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw KelvorError("Cannot read record file " + Describe(path));
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        throw KelvorError("Record file " + Describe(path) + " is empty");
    }
    if (bytes.size() % kRecordSize != 0) {
        throw KelvorError(
            "Record file " + Describe(path) + " is damaged: " + std::to_string(bytes.size()) +
            " bytes is not a whole number of " + std::to_string(kRecordSize) + "-byte records");
    }
    RecordList records;
    records.reserve(bytes.size() / kRecordSize);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t offset = 0; offset < bytes.size(); offset += kRecordSize) {
        records.push_back(
            DecodeRecord(std::span<const std::uint8_t, kRecordSize>(data + offset, kRecordSize)));
    }
    return records;
}

} // namespace kelvor
