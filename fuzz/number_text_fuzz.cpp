// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/engineering_format.h"
#include "analysis/frequency_scale.h"
#include "messages.h"
#include "non_number_check.h"
#include "text/eng_value.h"
#include "text/number_format.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace kelvor;

// Every formatter on one finite value; the 18-digit form must read back as nearly the same
// number (below the smallest normal value the number itself holds fewer digits, and at the very
// top of the range 18 digits may round past the largest value, which then reads as an overflow).
void FormatEverywhere(long double value) {
    CollectedMessages messages;
    RequireNoNonNumber(FormatEngineering(value, messages));
    RequireNoNonNumber(messages.texts);
    RequireNoNonNumber(FormatFixed(value, 10, 3));
    RequireNoNonNumber(FormatFixed(value, 7, 1));
    RequireNoNonNumber(FormatExponent(value, 14, 4));
    RequireNoNonNumber(FormatScientific23(value));
    if (std::fabs(value) < 1e300L) {
        RequireNoNonNumber(FormatFixedWidth(value, 5, 3));
    }
    if (value > 0) {
        RequireNoNonNumber(FormatFrequency(value));
    }
    if (std::fabs(value) >= 1e4932L) {
        return;
    }
    const std::string digits = FormatExponent(value, 18, 4);
    long double back = 0;
    if (ConvertDecimalReal(digits, back) != 0) {
        std::abort();
    }
    if (std::fabs(value) >= LDBL_MIN && std::fabs(back - value) > 1e-16L * std::fabs(value)) {
        std::abort();
    }
}

} // namespace

// The number syntax on any text (the parsers only ever clear their flag and never fail
// otherwise), and every formatter on the numbers read and on any 80-bit pattern.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    bool ok = true;
    const long double typed = ParseEngValue(text, ok);
    if (ok && std::isfinite(typed)) {
        FormatEverywhere(typed);
    }
    const std::string prefix = NumericPrefix(text);
    // A micro sign (two bytes, or one in 8-bit text) comes out as the scale letter u.
    const bool microSign =
        !prefix.empty() && prefix.back() == 'u' && text.substr(prefix.size() - 1, 1) != "u";
    const std::size_t literal = microSign ? prefix.size() - 1 : prefix.size();
    if (text.substr(0, literal) != std::string_view(prefix).substr(0, literal) ||
        prefix.size() > 30) {
        std::abort();
    }
    ok = true;
    const int32_t integer = ParseIntField(text, ok);
    if (!ok && integer != 0) {
        std::abort();
    }
    if (size >= 10) {
        long double pattern = 0;
        std::memcpy(&pattern, data, 10);
        // Adding 0 turns the encodings that arithmetic never makes (unnormals) into NaN and
        // normalises the rest, as any computed value is.
        const long double computed = pattern + 0.0L;
        if (std::isfinite(computed)) {
            FormatEverywhere(computed);
        }
    }
    return 0;
}
