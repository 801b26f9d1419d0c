// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/marker_search.h"

#include <cfloat>
#include <cmath>
#include <utility>

namespace kelvor {
namespace {

constexpr int kMostSearchSteps = 200;
// A step in log frequency for the slope at an end: small against any curvature of a response,
// large against the rounding of its gain.
constexpr long double kSlopeStepDecades = 1e-4L;
constexpr long double kPeakShare = 1e-10L;

// The maximum of the gain between two frequencies (Brent's search in log frequency: parabolas
// where they behave, golden sections where they do not). Returns the log frequency and gain.
std::pair<long double, long double> SearchMaximum(long double low, long double high,
                                                  const GainProbe& probe) {
    const long double golden = (3 - std::sqrt(5.0L)) / 2;
    const auto loss = [&](long double logFrequency) { return -probe(std::exp(logFrequency)); };
    long double a = std::log(low);
    long double b = std::log(high);
    // Samples lie close where a peak is sharp, so the bracket measures the peak's width: a
    // ten-billionth of it puts the top's frequency and height far beyond the digits shown.
    const long double absolute = kPeakShare * (b - a);
    long double x = a + golden * (b - a);
    long double w = x;
    long double v = x;
    long double fx = loss(x);
    long double fw = fx;
    long double fv = fx;
    long double d = 0;
    long double e = 0;
    for (int step = 0; step < kMostSearchSteps; ++step) {
        const long double middle = (a + b) / 2;
        const long double tolerance = 2 * LDBL_EPSILON * std::fabs(x) + absolute;
        const long double twice = 2 * tolerance;
        if (std::fabs(x - middle) <= twice - (b - a) / 2) {
            break;
        }
        long double p = 0;
        long double q = 0;
        long double r = 0;
        if (std::fabs(e) > tolerance) {
            r = (x - w) * (fx - fv);
            q = (x - v) * (fx - fw);
            p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0) {
                p = -p;
            } else {
                q = -q;
            }
            r = e;
            e = d;
        }
        if (std::fabs(p) < std::fabs(q * r / 2) && p > q * (a - x) && p < q * (b - x)) {
            d = p / q;
            const long double u = x + d;
            if (u - a < twice || b - u < twice) {
                d = x < middle ? tolerance : -tolerance;
            }
        } else {
            e = (x < middle ? b : a) - x;
            d = golden * e;
        }
        const long double u =
            x + (std::fabs(d) >= tolerance ? d : (d > 0 ? tolerance : -tolerance));
        const long double fu = loss(u);
        if (fu <= fx) {
            (u < x ? b : a) = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            (u < x ? a : b) = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    return {x, -fx};
}

// Where the gain passes `level` between two frequencies whose gains lie on either side (Brent's
// root search in log frequency), to the precision of the number type.
long double SearchCrossing(long double low, long double lowGain, long double high,
                           long double highGain, long double level, const GainProbe& probe) {
    long double a = std::log(low);
    long double b = std::log(high);
    long double fa = lowGain - level;
    long double fb = highGain - level;
    long double c = a;
    long double fc = fa;
    long double d = b - a;
    long double e = d;
    for (int step = 0; step < kMostSearchSteps; ++step) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const long double tolerance = 2 * LDBL_EPSILON * std::fabs(b) + LDBL_MIN;
        const long double middle = (c - b) / 2;
        if (std::fabs(middle) <= tolerance || fb == 0) {
            break;
        }
        if (std::fabs(e) < tolerance || std::fabs(fa) <= std::fabs(fb)) {
            d = e = middle;
        } else {
            long double s = fb / fa;
            long double p = 0;
            long double q = 0;
            if (a == c) {
                p = 2 * middle * s;
                q = 1 - s;
            } else {
                const long double qa = fa / fc;
                const long double rb = fb / fc;
                p = s * (2 * middle * qa * (qa - rb) - (b - a) * (rb - 1));
                q = (qa - 1) * (rb - 1) * (s - 1);
            }
            if (p > 0) {
                q = -q;
            } else {
                p = -p;
            }
            s = e;
            e = d;
            if (2 * p < 3 * middle * q - std::fabs(tolerance * q) && p < std::fabs(s * q / 2)) {
                d = p / q;
            } else {
                d = e = middle;
            }
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tolerance ? d : (middle > 0 ? tolerance : -tolerance);
        fb = probe(std::exp(b)) - level;
    }
    return std::exp(b);
}

// The crossing of `level` nearest to the peak, searching downwards or upwards. The peak may lie
// between samples and far above both: the last place at or above the level starts as the peak
// itself, so that a band narrower than the sample step is bracketed too.
std::optional<long double> FindCrossing(const std::vector<long double>& frequency,
                                        const long double* gain, long double peakFrequency,
                                        long double peakGain, bool upwards, long double level,
                                        const GainProbe& probe) {
    const std::size_t count = frequency.size();
    long double above = peakFrequency;
    long double aboveGain = peakGain;
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = upwards ? step : count - 1 - step;
        if (upwards ? frequency[index] <= peakFrequency : frequency[index] >= peakFrequency) {
            continue;
        }
        if (gain[index] < level) {
            return upwards ? SearchCrossing(above, aboveGain, frequency[index], gain[index], level,
                                            probe)
                           : SearchCrossing(frequency[index], gain[index], above, aboveGain, level,
                                            probe);
        }
        above = frequency[index];
        aboveGain = gain[index];
    }
    return std::nullopt;
}

// dB per decade at an end, from a step into the range.
long double SlopeAt(long double frequency, long double gain, bool atStart, const GainProbe& probe) {
    const long double step = atStart ? kSlopeStepDecades : -kSlopeStepDecades;
    return (probe(frequency * std::pow(10.0L, step)) - gain) / step;
}

} // namespace

long double HalfPowerDrop() {
    return 10 * std::log10(0.5L);
}

MarkerPlaces FindMarkerPlaces(const std::vector<long double>& frequency, const long double* gain,
                              const GainProbe& probe) {
    const std::size_t count = frequency.size();
    std::size_t top = 0;
    for (std::size_t index = 1; index < count; ++index) {
        if (gain[index] > gain[top]) {
            top = index;
        }
    }
    MarkerPlaces places;
    places.peakFrequency = frequency[top];
    places.peakGain = gain[top];
    // The samples between which a maximum inside the range lies, if it does.
    std::optional<std::pair<std::size_t, std::size_t>> around;
    if (top > 0 && top + 1 < count) {
        around = std::pair{top - 1, top + 1};
    } else {
        const bool atStart = top == 0;
        const long double slope = SlopeAt(frequency[top], gain[top], atStart, probe);
        // Seen from the end inwards, a gain that still climbs means a maximum next to the end.
        const long double inwards = atStart ? slope : -slope;
        if (std::fabs(slope) < kFlatEndSlope) {
            places.place = atStart ? PeakPlace::FlatStart : PeakPlace::FlatEnd;
        } else if (inwards > 0 && count > 1) {
            around = atStart ? std::pair{top, top + 1} : std::pair{top - 1, top};
        } else {
            places.place = atStart ? PeakPlace::RisingBelow : PeakPlace::RisingAbove;
            return places;
        }
    }
    if (around) {
        const auto [logFrequency, peakGain] =
            SearchMaximum(frequency[around->first], frequency[around->second], probe);
        if (peakGain >= gain[top]) { // else a flat top: the sample is as good
            places.peakFrequency = std::exp(logFrequency);
            places.peakGain = peakGain;
        }
    }
    const long double level = places.peakGain + HalfPowerDrop();
    places.lowerHalfPower =
        FindCrossing(frequency, gain, places.peakFrequency, places.peakGain, false, level, probe);
    places.upperHalfPower =
        FindCrossing(frequency, gain, places.peakFrequency, places.peakGain, true, level, probe);
    return places;
}

std::optional<long double> FindUnityGain(const std::vector<long double>& frequency,
                                         const long double* gain, const GainProbe& probe) {
    for (std::size_t index = 0; index + 1 < frequency.size(); ++index) {
        if (gain[index] == 0) {
            return frequency[index];
        }
        if ((gain[index] > 0) != (gain[index + 1] > 0)) {
            return SearchCrossing(frequency[index], gain[index], frequency[index + 1],
                                  gain[index + 1], 0, probe);
        }
    }
    return std::nullopt;
}

} // namespace kelvor
