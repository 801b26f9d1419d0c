// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeresp/trace_synthesis.h"

#include "extended_real.h"

#include <cmath>

namespace kelvor {
namespace {

constexpr long double DutyConstant = 0.01L;

// The series folded by the column grid's period: sum over residues r of
// Cosine[r] cos(2 pi r m / period) + Sine[r] sin(2 pi r m / period), m an integer per column.
class FoldedSeries {
public:
    explicit FoldedSeries(int period)
        : period_(period), cosine_(period, 0.0L), sine_(period, 0.0L), cosTable_(period),
          sinTable_(period) {
        for (int j = 0; j < period; ++j) {
            const long double angle = TwoPi * j / period;
            cosTable_[j] = std::cos(angle);
            sinTable_[j] = std::sin(angle);
        }
        // Exact values where the table's rounding would leave a residue: the zero crossings
        // carry the trace through its edges.
        sinTable_[0] = 0;
        cosTable_[0] = 1;
        if (period % 2 == 0) {
            sinTable_[period / 2] = 0;
            cosTable_[period / 2] = -1;
        }
        if (period % 4 == 0) {
            cosTable_[period / 4] = 0;
            sinTable_[period / 4] = 1;
            cosTable_[3 * period / 4] = 0;
            sinTable_[3 * period / 4] = -1;
        }
    }

    // Adds cosineWeight cos(2 pi k m / period) + sineWeight sin(2 pi k m / period).
    void Add(int64_t k, long double cosineWeight, long double sineWeight) {
        const auto residue = static_cast<int>(k % period_);
        cosine_[residue] += cosineWeight;
        sine_[residue] += sineWeight;
    }

    long double At(int64_t m) const {
        int64_t step = m % period_;
        if (step < 0) {
            step += period_;
        }
        // The angle index r m modulo the period, stepped along without a division per residue.
        long double sum = 0;
        int64_t j = 0;
        for (int r = 0; r < period_; ++r) {
            sum += cosine_[r] * cosTable_[j] + sine_[r] * sinTable_[j];
            j += step;
            if (j >= period_) {
                j -= period_;
            }
        }
        return sum;
    }

private:
    int period_;
    std::vector<long double> cosine_;
    std::vector<long double> sine_;
    std::vector<long double> cosTable_;
    std::vector<long double> sinTable_;
};

int PulseFirstT(int shift) {
    return kPulseFirstTBeforeShift - shift;
}

} // namespace

std::vector<long double> SquareWaveSums(const HarmonicTable& table) {
    // k q (t + offset) = 2 pi k (2t + 2 offset) / 1012, and 2 offset is 0 or 1.
    const int period = 4 * kSquareHalfPeriod;
    const int twiceOffset = SquareWaveTimeOffset(table.groups) > 0 ? 1 : 0;
    FoldedSeries series(period);
    for (int index = 0; index < table.Count(); ++index) {
        const int64_t k = HarmonicNumber(table.kind, index);
        const long double weight = -table.gain[index] / static_cast<long double>(k);
        // sin(a + phase) = sin a cos phase + cos a sin phase.
        series.Add(k, weight * std::sin(table.phase[index]), weight * std::cos(table.phase[index]));
    }
    std::vector<long double> sums;
    for (int t = kSquareFirstT; t <= kSquareLastT; ++t) {
        sums.push_back(series.At(2 * int64_t{t} + twiceOffset));
    }
    return sums;
}

std::vector<long double> PulseSums(const HarmonicTable& table, int period, int shift) {
    const long double theta = Pi * DutyConstant;
    FoldedSeries series(period);
    for (int index = 0; index < table.Count(); ++index) {
        const int64_t k = HarmonicNumber(table.kind, index);
        const auto kExtended = static_cast<long double>(k);
        const long double weight = -std::sin(kExtended * theta) * table.gain[index] / kExtended;
        // cos(a + phase) = cos a cos phase - sin a sin phase.
        series.Add(k, weight * std::cos(table.phase[index]),
                   -weight * std::sin(table.phase[index]));
    }
    const long double dcTerm = -(table.DcGain * theta) / 2;
    std::vector<long double> sums;
    const int first = PulseFirstT(shift);
    for (int t = first; t < first + kPulseColumns; ++t) {
        sums.push_back(dcTerm + series.At(t));
    }
    return sums;
}

std::vector<long double> SquareWaveSumsDirect(const HarmonicTable& table) {
    const long double q = Pi / kSquareHalfPeriod;
    const long double offset = SquareWaveTimeOffset(table.groups);
    std::vector<long double> sums;
    for (int t = kSquareFirstT; t <= kSquareLastT; ++t) {
        long double sum = 0;
        int index = 0;
        for (int group = 0; group < table.groups; ++group) {
            long double groupSum = 0;
            for (int n = 0; n < kHarmonicsPerGroup; ++n, ++index) {
                const auto k = static_cast<long double>(HarmonicNumber(table.kind, index));
                groupSum = groupSum - table.gain[index] *
                                          std::sin(k * q * (t + offset) + table.phase[index]) / k;
            }
            sum = sum + groupSum;
        }
        sums.push_back(sum);
    }
    return sums;
}

std::vector<long double> PulseSumsDirect(const HarmonicTable& table, int period, int shift) {
    const long double theta = Pi * DutyConstant;
    std::vector<long double> sums;
    const int first = PulseFirstT(shift);
    for (int t = first; t < first + kPulseColumns; ++t) {
        long double sum = -(table.DcGain * theta) / 2;
        int index = 0;
        for (int group = 0; group < table.groups; ++group) {
            long double groupSum = 0;
            for (int n = 0; n < kHarmonicsPerGroup; ++n, ++index) {
                const auto k = static_cast<long double>(HarmonicNumber(table.kind, index));
                const long double a = std::sin(k * theta) * table.gain[index];
                const long double e = (k * 2 * Pi * t) / period + table.phase[index];
                groupSum = groupSum - std::cos(e) * a / k;
            }
            sum = sum + groupSum;
        }
        sums.push_back(sum);
    }
    return sums;
}

int TraceRow(long double sum, long double scale, int baseline) {
    const long double y = std::nearbyint((sum * scale + 1) * 100 + baseline);
    // Limited before the conversion, so that a trace far off the picture cannot overflow it.
    if (!(y > kTraceTopRow)) {
        return kTraceTopRow;
    }
    if (y > kTraceBottomRow) {
        return kTraceBottomRow;
    }
    return static_cast<int>(y);
}

} // namespace kelvor
