// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;

namespace kelvor::app {

// Holds what the user types in the box to `limit` characters, the way a length limit should:
// a longer text that the program puts there (a remembered value, a proposal) is shown whole and
// can be shortened, but typing or pasting never makes the text longer than the limit, or longer
// than it already is.
void LimitTyping(QLineEdit* box, int limit);

} // namespace kelvor::app
