// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/record_file.h"

#include "files/delete_file_reported.h"
#include "files/file_io.h"
#include "kelvor_error.h"

#include <string>
#include <string_view>

namespace kelvor {

namespace {

// The largest record file a Datafile within its size limit can give: one record per line of at
// least two bytes, and the header record.
constexpr std::size_t kRecordFileSizeLimit = (kDatafileSizeLimit / 2 + 1) * kRecordSize;

std::string Describe(const std::filesystem::path& path) {
    return path.filename().string();
}

std::string ReadRecordBytes(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) {
        throw KelvorError("Record file " + Describe(path) + " does not exist");
    }
    std::string bytes = ReadWholeFile(path, kRecordFileSizeLimit);
    if (bytes.empty()) {
        throw KelvorError("Record file " + Describe(path) + " is empty");
    }
    return bytes;
}

RecordList DecodeRecords(const std::filesystem::path& path, const std::string& bytes) {
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

bool IsOwnRecordFile(const std::filesystem::path& path,
                     const std::shared_ptr<const std::string>& own) {
    try {
        return own && ReadWholeFile(path, kRecordFileSizeLimit) == *own;
    } catch (const KelvorError&) {
        return false;
    }
}

} // namespace

std::shared_ptr<const std::string> WriteRecordFile(const std::filesystem::path& path,
                                                   const RecordList& records) {
    std::string bytes;
    bytes.reserve(records.size() * kRecordSize);
    for (const ComponentRecord& record : records) {
        const auto encoded = EncodeRecord(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    WriteFileAtomically(path, bytes, WriteDurability::Scratch, LinkPolicy::Refuse);
    return std::make_shared<const std::string>(std::move(bytes));
}

RecordList ReadRecordFile(const std::filesystem::path& path) {
    return DecodeRecords(path, ReadRecordBytes(path));
}

RecordList ReadOwnRecordFile(const std::filesystem::path& path,
                             const std::shared_ptr<const std::string>& own) {
    // A missing or unreadable record file is a file error, as for every reading of it.
    ReadRecordBytes(path);
    if (!own) {
        throw KelvorError("Record file " + Describe(path) +
                          " was written by another program (another copy of KELVOR2007 in "
                          "this folder?): the Datafile must be parsed again.");
    }
    // Another copy's parse may have replaced the file since: this circuit is still the one
    // this copy parsed.
    return DecodeRecords(path, *own);
}

void DeleteOwnRecordFile(const std::filesystem::path& folder, CircuitState& state,
                         const FolderPresence& presence, const std::string& unitLabel,
                         MessageSink& messages) {
    const std::filesystem::path path = folder / kRecordFileName;
    if (IsOwnRecordFile(path, state.ownRecordFile) && presence.OnlyCopyInFolder()) {
        DeleteFileReported(path, unitLabel, messages);
    }
    state.ownRecordFile.reset();
}

} // namespace kelvor
