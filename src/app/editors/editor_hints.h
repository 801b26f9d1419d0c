// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kelvor::app {

// What the hint strip under an editor's text shows: the symbol of the kind being typed, the
// kind's name and the syntax of its line.
struct EditorHint {
    std::string symbol; // the symbol panel is hidden when empty
    std::string kind;
    std::string syntax;
    bool legend = false; // kinds with optional values explain the square brackets
};

struct KeyHint {
    char key; // typed as the first character of an empty line
    EditorHint hint;
};

// The eleven component and comment keys as the text editor words them; the form editor rewords a
// few of them.
std::vector<KeyHint> TextEditorKeyHints();

EditorHint NewFileHint();

// The row of that key, or nullptr. Keys are case-sensitive: lower-case letters have no row.
const EditorHint* FindKeyHint(const std::vector<KeyHint>& hints, char key);

// Rewords the row of that key, which must exist.
EditorHint& KeyHintRow(std::vector<KeyHint>& hints, char key);

} // namespace kelvor::app
