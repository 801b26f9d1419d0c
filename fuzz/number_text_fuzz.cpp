// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/engineering_format.h"
#include "analysis/frequency_scale.h"
#include "messages.h"
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

class CollectedMessages : public MessageSink {
public:
    void ShowInfo(const std::string& message) override { texts += message; }
    void ShowWarning(const std::string& message) override { texts += message; }
    void ShowError(const std::string& message) override { texts += message; }
    Answer Ask(const std::string& question, QuestionButtons) override {
        texts += question;
        return Answer::No;
    }
    std::string texts;
};

// A NaN or an infinity must never reach a text the user reads.
void RequireNoNonNumber(const std::string& text) {
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        const std::string_view three(text.data() + i, 3);
        if (three == "nan" || three == "NaN" || three == "NAN" || three == "inf" ||
            three == "Inf" || three == "INF") {
            std::abort();
        }
    }
}

// Every formatter on one finite value; the 18-digit form must read back as nearly the same
// number (below the smallest normal value the number itself holds fewer digits).
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
    if (text.substr(0, prefix.size()) != prefix || prefix.size() > 30) {
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
