// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/component_record.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace kelvor {
namespace {

using Bytes = std::array<std::uint8_t, kRecordSize>;

// The 10 bytes that hold an extended real; long double's padding carries nothing.
std::array<std::uint8_t, 10> ExtendedBytes(long double value) {
    std::array<std::uint8_t, 10> bytes{};
    std::memcpy(bytes.data(), &value, bytes.size());
    return bytes;
}

TEST(ComponentRecord, ComponentLayoutIsLittleEndianWithZeroReservedBytes) {
    ComponentRecord record;
    record.nodes = {1, -2, 300, 32767, -32768};
    record.kind = 'T';
    record.values = {1.0L, -2.0L, 0.0L, 0.0L, 0.0L, 0.0L};
    const Bytes bytes = EncodeRecord(record);

    const std::vector<std::uint8_t> nodeBytes(bytes.begin(), bytes.begin() + 10);
    EXPECT_EQ(nodeBytes, (std::vector<std::uint8_t>{0x01, 0x00, 0xFE, 0xFF, 0x2C, 0x01, 0xFF, 0x7F,
                                                    0x00, 0x80}));
    EXPECT_EQ(bytes[10], 0);
    EXPECT_EQ(bytes[11], 0);
    EXPECT_EQ(bytes[12], 'T');
    EXPECT_EQ(bytes[13], 0);
    // 1.0: explicit integer bit at the top of the significand, exponent 16383.
    const std::vector<std::uint8_t> one(bytes.begin() + 14, bytes.begin() + 24);
    EXPECT_EQ(one, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
    EXPECT_EQ(bytes[33], 0xC0); // sign bit of -2.0
}

TEST(ComponentRecord, ValuesSurviveBitForBit) {
    const long double cases[] = {
        0.2L,
        2.5e-3L,
        -0.0L,
        1e-6L,
        std::numeric_limits<long double>::max(),
        std::numeric_limits<long double>::denorm_min(),
        std::numeric_limits<long double>::lowest(),
        std::numeric_limits<long double>::infinity(),
        std::numeric_limits<long double>::quiet_NaN(),
        0.1L + 0.2L, // an inexact sum whose last significand bit would be lost in a double
    };
    for (long double value : cases) {
        ComponentRecord record;
        record.kind = 'B';
        record.values.fill(value);
        const ComponentRecord decoded = DecodeRecord(EncodeRecord(record));
        for (long double field : decoded.values) {
            EXPECT_EQ(ExtendedBytes(field), ExtendedBytes(value)) << static_cast<double>(value);
        }
    }
}

TEST(ComponentRecord, HeaderDateIsLengthPrefixed) {
    struct Case {
        std::string date;
        std::string stored;
    };
    const Case cases[] = {
        {"6 Dec 2026", "6 Dec 2026"},
        {"", ""},
        {std::string(30, 'a'), std::string(30, 'a')},
        {std::string(45, 'b'), std::string(30, 'b')},
    };
    for (const Case& c : cases) {
        ComponentRecord header;
        header.kind = 'H';
        header.nodes = {5, 3, 5, 2, 0};
        header.headerDate = c.date;
        const Bytes bytes = EncodeRecord(header);
        EXPECT_EQ(bytes[12], 'H');
        EXPECT_EQ(bytes[13], c.stored.size());
        EXPECT_EQ(std::string(bytes.begin() + 14, bytes.begin() + 14 + c.stored.size()), c.stored);
        for (std::size_t i = 14 + c.stored.size(); i < kRecordSize; ++i) {
            EXPECT_EQ(bytes[i], 0) << "byte " << i;
        }
        const ComponentRecord decoded = DecodeRecord(bytes);
        EXPECT_EQ(decoded.headerDate, c.stored);
        EXPECT_EQ(decoded.nodes, header.nodes);
    }
}

TEST(ComponentRecord, ArbitraryBytesDecodeWithoutOverrun) {
    Bytes bytes;
    bytes.fill(0xFF);
    ComponentRecord decoded = DecodeRecord(bytes);
    EXPECT_EQ(decoded.nodes[0], -1);
    EXPECT_EQ(static_cast<unsigned char>(decoded.kind), 0xFF);

    // A header claiming 255 date characters holds only 30.
    bytes[12] = 'H';
    decoded = DecodeRecord(bytes);
    EXPECT_EQ(decoded.headerDate, std::string(30, '\xFF'));
}

} // namespace
} // namespace kelvor
