// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/date_text.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace kelvor {

std::string DateText(std::chrono::year_month_day date) {
    // Fixed English abbreviations: the text goes into Datafiles and record files, which must read
    // the same whatever the user's locale.
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const unsigned month = static_cast<unsigned>(date.month());
    const char* monthText = month >= 1 && month <= 12 ? kMonths[month - 1] : "???";
    char text[48];
    std::snprintf(text, sizeof text, "%u %s %04d", static_cast<unsigned>(date.day()), monthText,
                  static_cast<int>(date.year()));
    return text;
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return DateText(std::chrono::year_month_day{
            std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())});
    }
    return DateText(
        std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                    std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                    std::chrono::day{static_cast<unsigned>(local.tm_mday)}});
}

} // namespace kelvor
