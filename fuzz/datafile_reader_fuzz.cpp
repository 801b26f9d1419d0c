// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_reader.h"
#include "circuit/record_listing.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes must parse without a crash, and every record must survive the 74-byte round trip.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kelvor::CircuitState state;
    const kelvor::ParseOutcome outcome = kelvor::ParseDatafileText(bytes, state, "7 Dec 2026");
    if (outcome.records.empty() || outcome.records[0].kind != 'H' ||
        outcome.report.size() > kelvor::kReportCapacity) {
        std::abort();
    }
    for (const kelvor::ComponentRecord& record : outcome.records) {
        const auto encoded = kelvor::EncodeRecord(record);
        if (kelvor::EncodeRecord(kelvor::DecodeRecord(encoded)) != encoded) {
            std::abort();
        }
    }
    kelvor::BuildRecordListing(outcome.records, "FUZZ.DAT", state.RevisionNumber);
    return 0;
}
