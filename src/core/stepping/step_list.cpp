// SPDX-License-Identifier: GPL-3.0-or-later
#include "stepping/step_list.h"

#include "kelvor_error.h"
#include "text/eng_value.h"
#include "text/words.h"

#include <array>
#include <cmath>
#include <string>

namespace kelvor {
namespace {

// The series in tenths of the decade's first value; exact integers, so a value such as 4.7k is
// 47 x 10^2 and compares exactly with the bounds the user typed.
constexpr std::array<int, 12> kE12 = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
constexpr std::array<int, 24> kE24 = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                      33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
// A bound typed as 4.7k may read back a rounding away from 47 x 10^2.
constexpr long double kBoundSlack = 1e-12L;

long double Value(std::string_view text, const std::string& what) {
    bool ok = true;
    const std::string trimmed = TrimSpaces(text);
    const long double value = ParseEngValue(trimmed, ok);
    if (!ok || trimmed.empty()) {
        throw KelvorError("step list: " + what + " \"" + trimmed + "\" is not a number");
    }
    if (!(value > 0)) {
        throw KelvorError("step list: " + what + " " + trimmed + " must be above 0");
    }
    return value;
}

int Count(std::string_view text) {
    const std::string trimmed = TrimSpaces(text);
    int count = 0;
    for (char character : trimmed) {
        if (character < '0' || character > '9' || count > kMostStepValues) {
            count = -1;
            break;
        }
        count = count * 10 + (character - '0');
    }
    if (trimmed.empty() || count < 2 || count > kMostStepValues) {
        throw KelvorError("step list: the count after / must be a whole number from 2 to " +
                          std::to_string(kMostStepValues) + ", not \"" + trimmed + "\"");
    }
    return count;
}

std::vector<long double> Range(std::string_view text, std::size_t dots) {
    const std::size_t slash = text.find('/', dots);
    if (slash == std::string_view::npos) {
        throw KelvorError("step list: a range needs /N, /logN, /E12 or /E24 after its end");
    }
    const long double low = Value(text.substr(0, dots), "the start");
    const long double high = Value(text.substr(dots + 2, slash - dots - 2), "the end");
    if (!(high > low)) {
        throw KelvorError("step list: the end of a range must be above its start");
    }
    const std::string how = TrimSpaces(text.substr(slash + 1));
    if (how == "E12" || how == "E24") {
        std::vector<long double> values =
            SeriesValues(how == "E12" ? StepSeries::E12 : StepSeries::E24, low, high);
        if (values.empty() || static_cast<int>(values.size()) > kMostStepValues) {
            throw KelvorError("step list: " + how + " gives " + std::to_string(values.size()) +
                              " values there; from 1 to " + std::to_string(kMostStepValues) +
                              " can be stepped");
        }
        return values;
    }
    const bool logarithmic = how.rfind("log", 0) == 0;
    const int count = Count(logarithmic ? std::string_view(how).substr(3) : how);
    std::vector<long double> values(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        const long double share = static_cast<long double>(index) / (count - 1);
        values[static_cast<std::size_t>(index)] =
            logarithmic ? low * std::pow(high / low, share) : low + (high - low) * share;
    }
    values.back() = high;
    return values;
}

} // namespace

std::vector<long double> SeriesValues(StepSeries series, long double low, long double high) {
    const int* mantissas = series == StepSeries::E12 ? kE12.data() : kE24.data();
    const std::size_t perDecade = series == StepSeries::E12 ? kE12.size() : kE24.size();
    std::vector<long double> values;
    const auto first = static_cast<int>(std::floor(std::log10(low))) - 1;
    const auto last = static_cast<int>(std::ceil(std::log10(high)));
    for (int decade = first; decade <= last; ++decade) {
        const long double scale = std::pow(10.0L, decade - 1);
        for (std::size_t index = 0; index < perDecade; ++index) {
            const long double value = mantissas[index] * scale;
            if (value >= low * (1 - kBoundSlack) && value <= high * (1 + kBoundSlack)) {
                values.push_back(value);
            }
        }
    }
    return values;
}

std::vector<long double> ParseStepList(std::string_view text) {
    if (const std::size_t dots = text.find(".."); dots != std::string_view::npos) {
        return Range(text, dots);
    }
    std::vector<long double> values;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        if (static_cast<int>(values.size()) == kMostStepValues) {
            throw KelvorError("step list: at most " + std::to_string(kMostStepValues) +
                              " values can be stepped");
        }
        values.push_back(Value(text.substr(start, comma - start), "the value"));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return values;
}

} // namespace kelvor
