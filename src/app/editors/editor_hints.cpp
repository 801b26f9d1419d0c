// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editors/editor_hints.h"

#include <algorithm>
#include <stdexcept>

namespace kelvor::app {

std::vector<KeyHint> TextEditorKeyHints() {
    return {
        {'R',
         {"", "R  for  RESISTOR", "R       Node_1      Node_2      Resistor Value  (Ohms)", false}},
        {'C',
         {"", "C  for  CAPACITOR", "C       Node_1      Node_2      Capacitor Value (Farads)",
          false}},
        {'L',
         {"", "L  for  INDUCTOR",
          "L       Node_1      Node_2      Inductor Value (Henries)      [R(Ohms) : Rmin]", true}},
        {'M',
         {"", "M  for  MUTUAL  INDUCTOR",
          "M      Pri_S    Pri_F    Sec_S    Sec_F    Lp(H)    Ls(H)    K    [Rp(Ohms) : Rmin]    "
          "[Rs(Ohms) : Rmin]",
          true}},
        {'T',
         {"", "T  for  TRANSFORMER",
          "T      Pri_S    Pri_Tap    Pri_F    Sec_S    Sec_F    Ratio(1:n)    Lp(H)    [Llp(H)]   "
          " "
          "[Lls(H)]    [Rp(Ohms) : Rmin]    [Rs(Ohms) : Rmin]",
          true}},
        {'B',
         {"", "B  for  BIPOLAR  TRANSISTOR",
          "B      Base_node    Collector_node    Emitter_node    Beta    Ic(A)      [Ft(Hz) : "
          "300MHz]     [Cbc(F) : 1pF]     [Cbe(F) : 1pF]     [Cce(F) : 1pF]",
          true}},
        {'F',
         {"", "F  for  FIELD  EFFECT  TRANSISTOR",
          "F      Gate_node    Drain_node    Source_node    Gm(A/V)    [Cgd(F) : 1pF]    [Cgs(F) : "
          "1pF]    [Cds(F) : 1pF]",
          true}},
        {'V',
         {"", "V  for  THERMIONIC  VALVE",
          "V       Grid_node    Anode_node    Cathode_node    Gm(A/V)    Ra(Ohms)    [Cga(F) : "
          "1pF]    [Cgc(F) : 1pF]    [Cac(F) : 1pF]",
          true}},
        {'A',
         {"", "A  for  OPERATIONAL  AMPLIFIER",
          "A        I/P+   I/P-   O/P   [Gain(dB) : 80dB]   [Zin(Ohms) : 10Mohms]   [f-3dB(Hz) : "
          "10MHz]      Op-amp common is circuit common node.",
          true}},
        {'*', {"*", "for  a  COMMENT", "*       Add  any  text  you  like  on  this  line", false}},
        {'#',
         {"#", "               for  Multiple  Comments",
          "#      ALL  text  after  the  #  sign  to  the  end  of  the  file  will  be  ignored",
          false}},
    };
}

EditorHint NewFileHint() {
    return {"", "THIS IS A NEW FILE", "You will need to set Input, Output and Common Nodes", false};
}

const EditorHint* FindKeyHint(const std::vector<KeyHint>& hints, char key) {
    const auto row =
        std::find_if(hints.begin(), hints.end(), [key](const KeyHint& h) { return h.key == key; });
    return row == hints.end() ? nullptr : &row->hint;
}

EditorHint& KeyHintRow(std::vector<KeyHint>& hints, char key) {
    const auto row =
        std::find_if(hints.begin(), hints.end(), [key](const KeyHint& h) { return h.key == key; });
    if (row == hints.end()) {
        throw std::logic_error("no hint for that key");
    }
    return row->hint;
}

} // namespace kelvor::app
