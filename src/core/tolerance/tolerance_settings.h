// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tolerance/gain_mask.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

// Uniform: every value anywhere within +-tolerance. Gaussian: tolerance = 3 sigma, a draw beyond
// +-tolerance is clipped to it.
enum class ToleranceDistribution { Uniform, Gaussian };

inline constexpr int32_t kDefaultToleranceRuns = 500;
inline constexpr int32_t kMostToleranceRuns = 10000;
inline constexpr uint64_t kDefaultToleranceSeed = 1;
// A tolerance is a percentage below this: a value never reaches zero or changes sign.
inline constexpr long double kToleranceLimitPercent = 100;

struct ToleranceSettings {
    // Percent of every value of a component of the kind (every component kind).
    std::map<char, long double> kindPercent;
    // Percent for the component of one Datafile line, by ComponentLineKey; overrides its kind.
    std::map<std::string, long double> linePercent;
    ToleranceDistribution distribution = ToleranceDistribution::Uniform;
    int32_t runs = kDefaultToleranceRuns;
    uint64_t seed = kDefaultToleranceSeed;
    GainMask mask;

    bool operator==(const ToleranceSettings&) const = default;
};

// Resistors 1 %, capacitors and inductors 5 %, coupled coils and transformers 2 %, active
// devices 10 %, 500 uniform runs, seed 1, no mask.
ToleranceSettings DefaultToleranceSettings();

// The tolerance of one component: its line's override, else its kind's.
long double TolerancePercent(const ToleranceSettings& settings, char kind,
                             const std::string& lineKey);

// A component line with its words joined by single spaces, so that spacing does not matter.
std::string ComponentLineKey(std::string_view line);

// "1%", "0.5 %" or "2": a percentage from 0 up to, not including, 100.
std::optional<long double> ParsePercent(std::string_view text);
// The shortest text that ParsePercent reads back as the same value, with "%".
std::string PercentText(long double percent);

// The kind letter, in upper case, of a text that is one component kind's letter.
std::optional<char> ToleranceKindOf(std::string_view text);

// Why a number of runs cannot be taken, or nothing when it lies from 1 to kMostToleranceRuns;
// `name` names the box, option or setting.
std::optional<std::string> ToleranceRunsProblem(long long runs, std::string_view name);

// "Uniform" or "Gaussian", any case.
std::optional<ToleranceDistribution> ParseDistribution(std::string_view text);
const char* DistributionName(ToleranceDistribution distribution);

// Kind tolerances as "R=1%,C=5%": sets each kind named. Returns what is wrong, or nothing.
std::optional<std::string> ApplyKindTolerances(std::string_view list, ToleranceSettings& settings);

} // namespace kelvor
