// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <string>

namespace kelvor {

// "d mmm yyyy": day without leading zero, English three-letter month, four-digit year.
std::string DateText(std::chrono::year_month_day date);

// DateText of the local calendar date now.
std::string TodayText();

} // namespace kelvor
