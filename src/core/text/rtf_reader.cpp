// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/rtf_reader.h"

#include "text/utf16_text.h"

#include <algorithm>
#include <cstddef>
#include <map>

namespace kelvor {
namespace {

// Deeper groups are only counted, so that the braces keep balancing, and their content is
// dropped: no input can make the reader's memory grow with its nesting.
constexpr std::size_t kMaxGroupDepth = 256;
// Control words are at most 32 letters; longer runs of letters are read but never match.
constexpr std::size_t kMaxControlWordLetters = 32;
constexpr int64_t kParameterLimit = 2147483647;
constexpr int kDefaultHalfPoints = 24; // 12 points when a document gives no \fs
constexpr int kMaxHalfPoints = 3276;   // the largest size word processors offer, 1638 points
constexpr int kMaxUnicodeSkip = 65535;
// Font names are at most 31 characters in every word processor; a longer one would be copied
// into every run of text.
constexpr std::size_t kMaxFontNameLength = 64;
// Far more changes of format than a help document has (ours has about 600). Beyond it, text
// keeps the format it has: a text box lays out each change separately, and a document that
// changes format at every character would freeze it.
constexpr std::size_t kMaxRuns = 10000;

constexpr char16_t kReplacementCharacter = u'\uFFFD';
constexpr char16_t kParagraphSeparator = u'\u2029';

char16_t DecodeByte(unsigned char byte, bool windows1252) {
    return windows1252 ? DecodeWindows1252(byte) : char16_t{byte};
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A rich-text box turns these into paragraph or frame breaks of its own, which would shift every
// later offset; C0 controls other than the tab are not text.
bool IsDroppedCharacter(char16_t c) {
    return (c < 0x20 && c != u'\t') || c == 0xFDD0 || c == 0xFDD1;
}

bool IsRtf(std::string_view bytes) {
    std::size_t start = 0;
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' ||
                                    bytes[start] == '\r' || bytes[start] == '\n')) {
        ++start;
    }
    return bytes.substr(start, 5) == "{\\rtf";
}

// Destinations whose text is never shown. Groups starting with \* are skipped as well.
constexpr std::string_view kSkippedDestinations[] = {
    "annotation", "atnauthor",    "atndate",
    "atnid",      "author",       "bkmkend",
    "bkmkstart",  "buptim",       "colorschememapping",
    "comment",    "company",      "creatim",
    "datastore",  "doccomm",      "fldinst",
    "filetbl",    "footer",       "footerf",
    "footerl",    "footerr",      "footnote",
    "ftncn",      "ftnsep",       "ftnsepc",
    "generator",  "header",       "headerf",
    "headerl",    "headerr",      "info",
    "keywords",   "latentstyles", "listoverridetable",
    "listtable",  "mmathPr",      "nonshppict",
    "object",     "objdata",      "operator",
    "pgdsctbl",   "pict",         "printim",
    "private",    "revtbl",       "revtim",
    "rsidtbl",    "stylesheet",   "subject",
    "tc",         "template",     "themedata",
    "title",      "txe",          "userprops",
    "xe",         "xmlnstbl"};

bool IsSkippedDestination(std::string_view name) {
    return std::find(std::begin(kSkippedDestinations), std::end(kSkippedDestinations), name) !=
           std::end(kSkippedDestinations);
}

// Control words that stand for one character.
struct NamedCharacter {
    std::string_view name;
    char16_t character;
};

constexpr NamedCharacter kNamedCharacters[] = {
    {"tab", u'\t'},          {"cell", u'\t'},        {"nestcell", u'\t'},
    {"line", kRtfLineBreak}, {"emdash", u'\u2014'},  {"endash", u'\u2013'},
    {"emspace", u'\u2003'},  {"enspace", u'\u2002'}, {"bullet", u'\u2022'},
    {"lquote", u'\u2018'},   {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
    {"rdblquote", u'\u201D'}};

std::optional<char16_t> NamedCharacterOf(std::string_view name) {
    for (const NamedCharacter& named : kNamedCharacters) {
        if (named.name == name) {
            return named.character;
        }
    }
    return std::nullopt;
}

bool IsUnderlineOn(std::string_view name) {
    static constexpr std::string_view kUnderlineWords[] = {
        "ul",         "uld",       "uldash",     "uldashd", "uldashdd", "uldb",
        "ulhwave",    "ulldash",   "ulth",       "ulthd",   "ulthdash", "ulthdashd",
        "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave"};
    return std::find(std::begin(kUnderlineWords), std::end(kUnderlineWords), name) !=
           std::end(kUnderlineWords);
}

std::u16string Trimmed(const std::u16string& text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

enum class Destination { Text, FontTable, ColourTable, Skipped };

struct CharacterFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = kDefaultHalfPoints;
    std::optional<int> fontNumber; // empty: the document's default font (\deff)
    int colourIndex = 0;           // 0 is the table's "auto" entry
};

struct GroupState {
    CharacterFormat format;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

class RtfParser {
public:
    explicit RtfParser(std::string_view bytes) : bytes_(bytes) {}

    RtfDocument Parse() {
        while (position_ < bytes_.size()) {
            const char c = bytes_[position_];
            if (c == '{') {
                ++position_;
                OpenGroup();
            } else if (c == '}') {
                ++position_;
                CloseGroup();
                if (groups_.empty()) {
                    break; // text after the document's last brace is not part of it
                }
            } else if (c == '\\') {
                ++position_;
                ReadControl();
            } else {
                ++position_;
                if (c != '\r' && c != '\n' && c != '\0') {
                    TextByte(static_cast<unsigned char>(c));
                }
            }
        }
        if (!paragraph_.runs.empty()) {
            document_.paragraphs.push_back(std::move(paragraph_));
        }
        return std::move(document_);
    }

private:
    GroupState& Top() { return groups_.back(); }

    void OpenGroup() {
        fallbackRemaining_ = 0;
        if (groups_.size() >= kMaxGroupDepth) {
            ++excessDepth_;
        } else if (groups_.empty()) {
            groups_.emplace_back();
        } else {
            groups_.push_back(groups_.back());
        }
    }

    void CloseGroup() {
        fallbackRemaining_ = 0;
        if (excessDepth_ > 0) {
            --excessDepth_;
            return;
        }
        if (groups_.empty()) {
            return;
        }
        if (Top().destination == Destination::FontTable) {
            CommitFont(); // a font entry may end with its group instead of a ';'
        }
        groups_.pop_back();
    }

    // Characters that stand in for a \u character in readers without Unicode are not shown.
    bool SwallowedByFallback() {
        if (fallbackRemaining_ > 0) {
            --fallbackRemaining_;
            return true;
        }
        return false;
    }

    // Outside the document, or nested deeper than the groups that are kept.
    bool Unread() const { return groups_.empty() || excessDepth_ > 0; }

    void TextByte(unsigned char byte) {
        if (Unread() || SwallowedByFallback()) {
            return;
        }
        Character(DecodeByte(byte, windows1252_));
    }

    void ReadControl() {
        if (position_ >= bytes_.size()) {
            return;
        }
        if (IsAsciiLetter(bytes_[position_])) {
            ReadControlWord();
        } else {
            ReadControlSymbol();
        }
    }

    void ReadControlWord() {
        const std::size_t start = position_;
        while (position_ < bytes_.size() && IsAsciiLetter(bytes_[position_])) {
            ++position_;
        }
        std::string_view name = bytes_.substr(start, position_ - start);
        if (name.size() > kMaxControlWordLetters) {
            name = std::string_view(); // matches no control word
        }
        bool negative = false;
        if (position_ + 1 < bytes_.size() && bytes_[position_] == '-' &&
            IsDigit(bytes_[position_ + 1])) {
            negative = true;
            ++position_;
        }
        std::optional<int> parameter;
        if (position_ < bytes_.size() && IsDigit(bytes_[position_])) {
            int64_t value = 0;
            while (position_ < bytes_.size() && IsDigit(bytes_[position_])) {
                value = std::min<int64_t>(value * 10 + (bytes_[position_] - '0'), kParameterLimit);
                ++position_;
            }
            parameter = static_cast<int>(negative ? -value : value);
        }
        if (position_ < bytes_.size() && bytes_[position_] == ' ') {
            ++position_; // the delimiting space belongs to the control word
        }
        if (name == "bin") {
            // Binary data follows: skip it whole, so its bytes are never read as braces.
            const std::size_t length = static_cast<std::size_t>(std::max(0, parameter.value_or(0)));
            position_ += std::min(length, bytes_.size() - position_);
            return;
        }
        if (Unread()) {
            return;
        }
        if (name == "u") {
            if (SwallowedByFallback()) {
                return;
            }
            Unicode(parameter.value_or(0));
            return;
        }
        if (SwallowedByFallback()) {
            return;
        }
        ApplyControlWord(name, parameter);
    }

    void ReadControlSymbol() {
        const char symbol = bytes_[position_];
        ++position_;
        if (symbol == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && position_ < bytes_.size() && HexValue(bytes_[position_]) >= 0) {
                value = value * 16 + HexValue(bytes_[position_]);
                ++position_;
                ++digits;
            }
            if (digits == 2 && !Unread() && !SwallowedByFallback()) {
                Character(DecodeByte(static_cast<unsigned char>(value), windows1252_));
            }
            return;
        }
        if (Unread() || SwallowedByFallback()) {
            return;
        }
        switch (symbol) {
        case '\\':
        case '{':
        case '}':
            Character(static_cast<char16_t>(symbol));
            break;
        case '~':
            Character(u'\u00A0');
            break;
        case '_':
            Character(u'\u2011');
            break;
        case '*':
            Top().destination = Destination::Skipped;
            break;
        case '\r':
        case '\n':
            ApplyControlWord("par", std::nullopt);
            break;
        default:
            break; // \- optional hyphen, \| and \: formula marks, anything unknown
        }
    }

    void Unicode(int value) {
        char16_t unit = kReplacementCharacter;
        if (value >= -32768 && value < 0) {
            unit = static_cast<char16_t>(value + 65536);
        } else if (value >= 0 && value <= 65535) {
            unit = static_cast<char16_t>(value);
        }
        Character(unit);
        fallbackRemaining_ = Top().unicodeSkip;
    }

    void ApplyControlWord(std::string_view name, std::optional<int> parameter) {
        GroupState& group = Top();
        if (group.destination == Destination::Skipped) {
            return;
        }
        const bool on = parameter.value_or(1) != 0;
        CharacterFormat& format = group.format;
        if (name == "fonttbl") {
            group.destination = Destination::FontTable;
        } else if (name == "colortbl") {
            group.destination = Destination::ColourTable;
            pendingColour_ = {};
        } else if (IsSkippedDestination(name)) {
            group.destination = Destination::Skipped;
        } else if (name == "par" || name == "sect" || name == "row") {
            if (group.destination == Destination::Text) {
                EndParagraph();
            }
        } else if (const auto named = NamedCharacterOf(name)) {
            Character(*named);
        } else if (name == "b") {
            format.bold = on;
        } else if (name == "i") {
            format.italic = on;
        } else if (IsUnderlineOn(name)) {
            format.underline = on;
        } else if (name == "ulnone") {
            format.underline = false;
        } else if (name == "plain") {
            format = CharacterFormat{};
        } else if (name == "fs") {
            const int halfPoints = parameter.value_or(kDefaultHalfPoints);
            format.halfPoints =
                halfPoints <= 0 ? kDefaultHalfPoints : std::min(halfPoints, kMaxHalfPoints);
        } else if (name == "f") {
            if (group.destination == Destination::FontTable) {
                CommitFont();
                fontEntryNumber_ = parameter.value_or(0);
            } else {
                format.fontNumber = parameter.value_or(0);
            }
        } else if (name == "deff") {
            defaultFont_ = parameter.value_or(0);
        } else if (name == "cf") {
            format.colourIndex = parameter.value_or(0);
        } else if (name == "red" || name == "green" || name == "blue") {
            if (group.destination == Destination::ColourTable) {
                const uint32_t component =
                    static_cast<uint32_t>(std::clamp(parameter.value_or(0), 0, 255));
                const int shift = name == "red" ? 0 : (name == "green" ? 8 : 16);
                pendingColour_.value &= ~(0xFFu << shift);
                pendingColour_.value |= component << shift;
                pendingColour_.given = true;
            }
        } else if (name == "uc") {
            group.unicodeSkip = std::clamp(parameter.value_or(1), 0, kMaxUnicodeSkip);
        } else if (name == "ansicpg") {
            windows1252_ = parameter.value_or(1252) == 1252;
        }
        // Every other control word (paragraph layout, page setup, \pard, ...) changes nothing
        // that the text or its character format shows.
    }

    void Character(char16_t c) {
        switch (Top().destination) {
        case Destination::Skipped:
            return;
        case Destination::FontTable:
            if (c == u';') {
                CommitFont();
            } else if (pendingFontName_.size() < kMaxFontNameLength) {
                pendingFontName_ += c;
            }
            return;
        case Destination::ColourTable:
            if (c == u';') {
                colours_.push_back(pendingColour_.given
                                       ? std::optional<uint32_t>(pendingColour_.value)
                                       : std::nullopt);
                pendingColour_ = {};
            }
            return;
        case Destination::Text:
            break;
        }
        if (c == kParagraphSeparator) {
            EndParagraph();
            return;
        }
        if (IsDroppedCharacter(c)) {
            return;
        }
        if (!paragraph_.runs.empty() &&
            (runCount_ >= kMaxRuns || paragraph_.runs.back().SameFormat(CurrentFormat()))) {
            paragraph_.runs.back().text += c;
            return;
        }
        RtfRun format = CurrentFormat();
        format.text = std::u16string(1, c);
        paragraph_.runs.push_back(std::move(format));
        ++runCount_;
    }

    RtfRun CurrentFormat() const {
        const CharacterFormat& format = groups_.back().format;
        RtfRun run;
        run.bold = format.bold;
        run.italic = format.italic;
        run.underline = format.underline;
        run.pointSize = format.halfPoints / 2.0;
        if (format.colourIndex >= 0 &&
            static_cast<std::size_t>(format.colourIndex) < colours_.size()) {
            run.colour = colours_[static_cast<std::size_t>(format.colourIndex)];
        }
        const auto font = fonts_.find(format.fontNumber.value_or(defaultFont_));
        if (font != fonts_.end()) {
            run.fontName = font->second;
        }
        return run;
    }

    void CommitFont() {
        std::u16string name = Trimmed(pendingFontName_);
        pendingFontName_.clear();
        if (!name.empty()) {
            fonts_[fontEntryNumber_] = std::move(name);
        }
    }

    void EndParagraph() {
        document_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = RtfParagraph{};
    }

    struct PendingColour {
        uint32_t value = 0;
        bool given = false;
    };

    std::string_view bytes_;
    std::size_t position_ = 0;
    std::vector<GroupState> groups_;
    std::size_t excessDepth_ = 0;
    int fallbackRemaining_ = 0;
    bool windows1252_ = true;

    std::map<int, std::u16string> fonts_;
    int fontEntryNumber_ = 0;
    int defaultFont_ = 0;
    std::u16string pendingFontName_;
    std::vector<std::optional<uint32_t>> colours_;
    PendingColour pendingColour_;

    RtfDocument document_;
    RtfParagraph paragraph_;
    std::size_t runCount_ = 0;
};

RtfDocument ReadPlainText(std::string_view bytes) {
    RtfDocument document;
    RtfParagraph paragraph;
    auto endLine = [&] {
        document.paragraphs.push_back(std::move(paragraph));
        paragraph = RtfParagraph{};
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            endLine();
            continue;
        }
        if (c == '\n') {
            endLine();
            continue;
        }
        const char16_t decoded = DecodeByte(static_cast<unsigned char>(c), true);
        if (IsDroppedCharacter(decoded)) {
            continue;
        }
        if (paragraph.runs.empty()) {
            paragraph.runs.emplace_back();
        }
        paragraph.runs.back().text += decoded;
    }
    if (!paragraph.runs.empty()) {
        document.paragraphs.push_back(std::move(paragraph));
    }
    return document;
}

} // namespace

bool RtfRun::SameFormat(const RtfRun& other) const {
    return bold == other.bold && italic == other.italic && underline == other.underline &&
           pointSize == other.pointSize && colour == other.colour && fontName == other.fontName;
}

std::u16string RtfParagraph::Text() const {
    std::u16string text;
    for (const RtfRun& run : runs) {
        text += run.text;
    }
    return text;
}

bool RtfParagraph::HasOverlongWord() const {
    std::size_t word = 0;
    for (const RtfRun& run : runs) {
        for (const char16_t c : run.text) {
            const bool breaks = c == u' ' || c == u'\t' || c == kRtfLineBreak;
            word = breaks ? 0 : word + 1;
            if (word > kLongestWrappedWord) {
                return true;
            }
        }
    }
    return false;
}

std::u16string RtfDocument::PlainText() const {
    std::u16string text;
    for (const RtfParagraph& paragraph : paragraphs) {
        text += paragraph.Text();
        text += u'\n';
    }
    return text;
}

RtfDocument ReadRtf(std::string_view bytes) {
    if (!IsRtf(bytes)) {
        return ReadPlainText(bytes);
    }
    return RtfParser(bytes).Parse();
}

} // namespace kelvor
