// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelvor {

// The shortest decimal text that reads back as exactly the same extended real, independent of
// the locale: 4700 as "4700", 159.15e-9 as "1.5915e-07".
std::string ExactNumberText(long double value);

} // namespace kelvor
