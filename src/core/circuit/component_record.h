// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kelvor {

// One record of RECORDS.TMP: five node numbers, a kind letter and six extended values. Record 0
// is the header record (kind 'H'): nodes NoNodes, NodeIn, NodeOut, NodeCom and the parse date.
struct ComponentRecord {
    std::array<int16_t, 5> nodes{};
    char kind = ' ';
    std::array<long double, 6> values{};
    std::string headerDate; // header record only, at most 30 characters
};

inline constexpr std::size_t kRecordSize = 74;
inline constexpr std::size_t kHeaderDateCapacity = 30;

// Little-endian 74-byte layout: nodes at 0..9, kind at 12, values as 80-bit reals from 14 on;
// the header keeps a length-prefixed date text at 13. Reserved bytes are written as zero.
std::array<std::uint8_t, kRecordSize> EncodeRecord(const ComponentRecord& record);
ComponentRecord DecodeRecord(std::span<const std::uint8_t, kRecordSize> bytes);

} // namespace kelvor
