// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/component_record.h"

#include "extended_real.h"

#include <algorithm>
#include <cstring>

namespace kelvor {

namespace {

constexpr std::size_t kKindOffset = 12;
constexpr std::size_t kDateOffset = 13;
constexpr std::size_t kFirstValueOffset = 14;
// Only the significand, exponent and sign: the padding bytes of long double are not stored.
constexpr std::size_t kExtendedBytes = 10;

void PutInt16(std::uint8_t* out, int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    out[0] = static_cast<std::uint8_t>(bits & 0xFF);
    out[1] = static_cast<std::uint8_t>(bits >> 8);
}

int16_t GetInt16(const std::uint8_t* in) {
    return static_cast<int16_t>(static_cast<std::uint16_t>(in[0] | (in[1] << 8)));
}

} // namespace

std::array<std::uint8_t, kRecordSize> EncodeRecord(const ComponentRecord& record) {
    std::array<std::uint8_t, kRecordSize> bytes{};
    for (std::size_t i = 0; i < record.nodes.size(); ++i) {
        PutInt16(&bytes[2 * i], record.nodes[i]);
    }
    bytes[kKindOffset] = static_cast<std::uint8_t>(record.kind);
    if (record.kind == 'H') {
        // The date overlays the value fields, which a header record does not have.
        const std::size_t length = std::min(record.headerDate.size(), kHeaderDateCapacity);
        bytes[kDateOffset] = static_cast<std::uint8_t>(length);
        std::memcpy(&bytes[kDateOffset + 1], record.headerDate.data(), length);
        return bytes;
    }
    for (std::size_t i = 0; i < record.values.size(); ++i) {
        std::memcpy(&bytes[kFirstValueOffset + i * kExtendedBytes], &record.values[i],
                    kExtendedBytes);
    }
    return bytes;
}

ComponentRecord DecodeRecord(std::span<const std::uint8_t, kRecordSize> bytes) {
    ComponentRecord record;
    for (std::size_t i = 0; i < record.nodes.size(); ++i) {
        record.nodes[i] = GetInt16(&bytes[2 * i]);
    }
    record.kind = static_cast<char>(bytes[kKindOffset]);
    if (record.kind == 'H') {
        // A damaged file may claim a longer date than the field holds.
        const std::size_t length = std::min<std::size_t>(bytes[kDateOffset], kHeaderDateCapacity);
        record.headerDate.assign(reinterpret_cast<const char*>(&bytes[kDateOffset + 1]), length);
        return record;
    }
    for (std::size_t i = 0; i < record.values.size(); ++i) {
        long double value = 0.0L;
        std::memcpy(&value, &bytes[kFirstValueOffset + i * kExtendedBytes], kExtendedBytes);
        record.values[i] = value;
    }
    return record;
}

} // namespace kelvor
