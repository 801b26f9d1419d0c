// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_scale.h"

#include "text/eng_value.h"
#include "text/int_helpers.h"
#include "text/number_format.h"
#include "text/words.h"

#include <cmath>

namespace kelvor {
namespace {

long double DecadeWidthFor(int32_t fcode, long double userStart, long double userEnd) {
    if (fcode == 0) {
        return 72 / std::log10(userEnd / userStart);
    }
    if (fcode <= 21) {
        return 72;
    }
    if (fcode <= 31) {
        return 36;
    }
    if (fcode <= 40) {
        return 24;
    }
    if (fcode <= 47) {
        return 14.5L;
    }
    return 12;
}

// The index of the range counted in half decades from 0.03 Hz; 7 stands for 30 Hz.
int RangeIndex(int32_t fcode) {
    if (fcode >= 1 && fcode <= 21) {
        return fcode;
    }
    if (fcode >= 22 && fcode <= 31) {
        return 2 * (fcode - 22) + 1;
    }
    if (fcode >= 32 && fcode <= 40) {
        return 2 * (fcode - 32) + 1;
    }
    if (fcode >= 41 && fcode <= 47) {
        return 2 * (fcode - 41) + 1;
    }
    return 7;
}

struct PrefixedValue {
    long double scaled;
    long double multiplier;
    char prefix;
};

PrefixedValue ChoosePrefix(long double frequency) {
    if (frequency >= 1e9L) {
        return {frequency / 1e9L, 1e9L, 'G'};
    }
    if (frequency >= 1e6L) {
        return {frequency / 1e6L, 1e6L, 'M'};
    }
    if (frequency >= 1e3L) {
        return {frequency / 1e3L, 1e3L, 'k'};
    }
    return {frequency, 1, ' '};
}

std::string LabelDigits(long double scaled) {
    const int decimals = scaled >= 100 ? 0 : scaled >= 10 ? 1 : scaled >= 1 ? 2 : 3;
    return FormatFixedWidth(scaled, 5, decimals);
}

long double ComputedColumnFrequency(const FrequencyScale& scale, int column) {
    return scale.BaseFrequency *
           Power10((static_cast<long double>(column) / 8 - scale.ColumnOffset) / scale.DecadeWidth);
}

} // namespace

FrequencyScale SetupFrequencyScale(int32_t fcode, long double userStart, long double userEnd) {
    FrequencyScale scale;
    scale.FCode = fcode;
    if (fcode == 0) {
        scale.BaseFrequency = userStart;
        scale.EndFrequency = userEnd;
    } else if (fcode <= 47) {
        scale.BaseFrequency = 30;
    } else {
        static constexpr long double kSixDecadeBases[] = {1, 10, 100, 1000, 10000};
        scale.BaseFrequency = kSixDecadeBases[fcode - 48];
    }
    scale.DecadeWidth = DecadeWidthFor(fcode, userStart, userEnd);
    const int r = RangeIndex(fcode);
    const long double k = scale.DecadeWidth;
    scale.ColumnOffset = (r % 2 == 1 ? 5.5L : 3.5L) - k * (r - 7) / 2;
    auto columns = std::make_shared<std::array<long double, kSweepColumns>>();
    for (int column = kFirstSweepColumn; column <= kLastSweepColumn; ++column) {
        (*columns)[column - kFirstSweepColumn] = ComputedColumnFrequency(scale, column);
    }
    scale.columnFrequencies = std::move(columns);
    return scale;
}

long double ColumnFrequency(const FrequencyScale& scale, int column) {
    if (scale.columnFrequencies != nullptr && column >= kFirstSweepColumn &&
        column <= kLastSweepColumn) {
        return (*scale.columnFrequencies)[column - kFirstSweepColumn];
    }
    return ComputedColumnFrequency(scale, column);
}

bool IsSweepableUserRange(long double start, long double end) {
    if (!(start > 0) || !(end > start) || !std::isfinite(end / start)) {
        return false;
    }
    // The column frequencies rise with the column: the two outermost bound all the others.
    const FrequencyScale scale = SetupFrequencyScale(0, start, end);
    for (const int column : {kFirstSweepColumn, kLastSweepColumn}) {
        const long double frequency = ColumnFrequency(scale, column);
        if (!(frequency > 0) || !std::isfinite(frequency)) {
            return false;
        }
    }
    return true;
}

std::string FormatFrequency(long double frequency) {
    PrefixedValue value = ChoosePrefix(frequency);
    std::string digits = LabelDigits(value.scaled);
    // A value that rounded up to 1000 moves to the next prefix. The text is read back with the
    // point whatever the process locale, which may use a decimal comma.
    // At the very top of the number range the rounded digits may not read back as a finite
    // value; the first choice then stands.
    long double shown = 0;
    if (ConvertDecimalReal(digits, shown) == 0 && std::isfinite(shown * value.multiplier)) {
        value = ChoosePrefix(shown * value.multiplier);
        digits = LabelDigits(value.scaled);
    }
    std::string label = digits + value.prefix;
    if (label.size() > 1 && label[1] == ' ') {
        label = label.substr(1) + ' ';
    }
    return label;
}

std::string BuildUserFreqLabels(const FrequencyScale& scale) {
    std::string row;
    for (int column : kUserLabelColumns) {
        const std::string label = FormatFrequency(ColumnFrequency(scale, column));
        switch (column) {
        case 44:
            row = label + " ";
            break;
        case 140:
        case 428:
            row += "       " + label;
            break;
        case 620:
            if (label.size() > 4 && label[4] == ' ') {
                row += " ";
            }
            row += "       " + label;
            break;
        default:
            row += "        " + label;
            break;
        }
    }
    return CutText(row, 89);
}

} // namespace kelvor
