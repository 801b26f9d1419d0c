// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/date_text.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

using namespace std::chrono;

TEST(DateText, DayWithoutLeadingZeroMonthAbbreviationFourDigitYear) {
    EXPECT_EQ(DateText(year{2027} / March / 5), "5 Mar 2027");
    EXPECT_EQ(DateText(year{2007} / January / 31), "31 Jan 2007");
    EXPECT_EQ(DateText(year{1999} / December / 1), "1 Dec 1999");
    EXPECT_EQ(DateText(year{2024} / February / 29), "29 Feb 2024");
    EXPECT_EQ(DateText(year{987} / September / 10), "10 Sep 0987");
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (unsigned m = 1; m <= 12; ++m) {
        EXPECT_EQ(DateText(year{2000} / month{m} / 15),
                  std::string("15 ") + months[m - 1] + " 2000");
    }
    // An impossible month must give a readable text, not an out-of-range read.
    EXPECT_EQ(DateText(year{2000} / month{13} / 1), "1 ??? 2000");
}

} // namespace
} // namespace kelvor
