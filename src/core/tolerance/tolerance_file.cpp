// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/tolerance_file.h"

#include "circuit/component_kind.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "text/concat.h"
#include "text/eng_value.h"
#include "text/ini_text.h"
#include "text/words.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kelvor {
namespace {

constexpr const char* kTolerancesSection = "Tolerances";
constexpr const char* kOverridesSection = "Overrides";
constexpr const char* kMaskSection = "Mask";
constexpr const char* kNoLimit = "-";
// A damaged file could have thousands of bad lines; the message names the first few.
constexpr int kProblemsListed = 5;

std::string Number(long double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string Limit(const std::optional<long double>& limit) {
    return limit ? Number(*limit) : kNoLimit;
}

bool SameName(std::string_view key, std::string_view name) {
    return std::equal(key.begin(), key.end(), name.begin(), name.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

std::optional<long double> Frequency(std::string_view text) {
    bool ok = true;
    const long double value = ParseEngValue(TrimSpaces(text), ok);
    return ok && value > 0 && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

using MaskLimitReading = std::optional<std::optional<long double>>;

// A limit in dB, or no limit for "-" or nothing; fails (outer nullopt) on anything else. The
// types are spelt out: std::optional(std::optional(x)) deduces a single optional, which once
// read a wrong limit as no limit at all.
MaskLimitReading MaskLimit(std::string_view text) {
    const std::string trimmed = TrimSpaces(text);
    if (trimmed.empty() || trimmed == kNoLimit) {
        return MaskLimitReading(std::in_place, std::nullopt);
    }
    bool ok = true;
    const long double value = ParseEngValue(trimmed, ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return MaskLimitReading(std::in_place, value);
}

// The four fields of a mask line, or none when it does not have four.
std::optional<std::array<std::string_view, 4>> MaskFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (fields.size() != 4) {
        return std::nullopt;
    }
    return std::array{fields[0], fields[1], fields[2], fields[3]};
}

class Reader {
public:
    explicit Reader(std::string_view fileName) : fileName_(fileName) {}

    void Line(const IniLine& line) {
        const int number = line.number;
        const std::string& text = line.text;
        if (line.startsSection) {
            section_ = line.section;
            if (section_ != kTolerancesSection && section_ != kOverridesSection &&
                section_ != kMaskSection) {
                Problem(number, "unknown section " + text);
            }
            return;
        }
        if (section_ == kMaskSection) {
            ++maskRows_;
            const auto fields = MaskFields(text);
            if (!fields) {
                Problem(number, "gain mask row " + std::to_string(maskRows_) +
                                    " is not FROM, TO, LOWEST dB, HIGHEST dB");
                return;
            }
            MaskSegmentReading reading =
                ReadMaskSegment((*fields)[0], (*fields)[1], (*fields)[2], (*fields)[3], maskRows_);
            if (reading.segment) {
                settings.mask.push_back(*reading.segment);
            } else {
                Problem(number, reading.problem);
            }
            return;
        }
        // A component line may hold "=" itself; the percentage follows the last one.
        std::string key;
        std::string value;
        if (!SplitIniSetting(text,
                             section_ == kOverridesSection ? EqualsSign::Last : EqualsSign::First,
                             key, value)) {
            Problem(number, "not KEY = VALUE");
            return;
        }
        if (section_ == kOverridesSection) {
            Override(number, key, value);
        } else if (section_ == kTolerancesSection) {
            Setting(number, key, value);
        } else if (section_.empty()) {
            Problem(number, "a line before the first section");
        }
    }

    std::string Message() const {
        if (problems_.empty()) {
            return {};
        }
        std::string message = "\r\n" + fileName_ +
                              " is damaged; these lines were not read and their settings keep "
                              "the defaults:";
        for (std::size_t index = 0; index < problems_.size() && index < kProblemsListed; ++index) {
            message += "\r\n  " + problems_[index];
        }
        if (problems_.size() > kProblemsListed) {
            message += "\r\n  and " + std::to_string(problems_.size() - kProblemsListed) + " more";
        }
        return message;
    }

    ToleranceSettings settings = DefaultToleranceSettings();

private:
    void Problem(int number, const std::string& why) {
        problems_.push_back("line " + std::to_string(number) + ": " + why);
    }

    void Override(int number, const std::string& line, const std::string& value) {
        const auto percent = ParsePercent(value);
        if (line.empty() || !percent) {
            Problem(number, "an override is COMPONENT LINE = PERCENT, below 100 %");
            return;
        }
        settings.linePercent[ComponentLineKey(line)] = *percent;
    }

    void Setting(int number, const std::string& key, const std::string& value) {
        if (const auto kind = ToleranceKindOf(key)) {
            if (const auto percent = ParsePercent(value)) {
                settings.kindPercent[*kind] = *percent;
            } else {
                Problem(number, key + " needs a percentage from 0 to below 100");
            }
        } else if (SameName(key, "Distribution")) {
            if (const auto distribution = ParseDistribution(value)) {
                settings.distribution = *distribution;
            } else {
                Problem(number, "the distribution is Uniform or Gaussian");
            }
        } else if (SameName(key, "Runs")) {
            bool ok = true;
            const int32_t runs = ParseIntField(value, ok);
            const auto outside = ToleranceRunsProblem(runs, "Runs");
            if (ok && !outside) {
                settings.runs = runs;
            } else {
                Problem(number, ok ? *outside
                                   : "runs is a whole number from 1 to " +
                                         std::to_string(kMostToleranceRuns));
            }
        } else if (SameName(key, "Seed")) {
            uint64_t seed = 0;
            const auto result = std::from_chars(value.data(), value.data() + value.size(), seed);
            if (result.ec == std::errc() && result.ptr == value.data() + value.size()) {
                settings.seed = seed;
            } else {
                Problem(number, "the seed is a whole number from 0 to 18446744073709551615");
            }
        } else {
            Problem(number, "unknown setting " + key);
        }
    }

    std::string fileName_;
    std::string section_;
    int maskRows_ = 0;
    std::vector<std::string> problems_;
};

} // namespace

MaskSegmentReading ReadMaskSegment(std::string_view from, std::string_view to,
                                   std::string_view lowest, std::string_view highest, int row) {
    const auto problem = [&](const char* column, const std::string& why) {
        return MaskSegmentReading{std::nullopt, "Gain mask row " + std::to_string(row) + ", " +
                                                    column + ": " + why};
    };
    const auto quoted = [](std::string_view text) {
        return Concat({"\"", TrimSpaces(text), "\""});
    };
    const auto low = Frequency(from);
    if (!low) {
        return problem("From (Hz)", quoted(from) + " is not a frequency above 0");
    }
    const auto high = Frequency(to);
    if (!high) {
        return problem("To (Hz)", quoted(to) + " is not a frequency above 0");
    }
    if (*high < *low) {
        return problem("To (Hz)", "must not be below From");
    }
    const auto lowestLimit = MaskLimit(lowest);
    if (!lowestLimit) {
        return problem("Lowest (dB)", quoted(lowest) + " is not a number of dB or - for none");
    }
    const auto highestLimit = MaskLimit(highest);
    if (!highestLimit) {
        return problem("Highest (dB)", quoted(highest) + " is not a number of dB or - for none");
    }
    if (*lowestLimit && *highestLimit && **highestLimit < **lowestLimit) {
        return problem("Highest (dB)", "must not be below Lowest");
    }
    return {GainMaskSegment{*low, *high, *lowestLimit, *highestLimit}, {}};
}

std::optional<GainMaskSegment> ParseMaskSegment(std::string_view from, std::string_view to,
                                                std::string_view lowest, std::string_view highest) {
    return ReadMaskSegment(from, to, lowest, highest, 1).segment;
}

std::array<std::string, 4> MaskSegmentTexts(const GainMaskSegment& segment) {
    return {Number(segment.from), Number(segment.to), Limit(segment.lowest),
            Limit(segment.highest)};
}

std::filesystem::path ToleranceFilePath(const std::filesystem::path& datafile) {
    std::filesystem::path path = datafile;
    return path.replace_extension(".tol");
}

std::string ToleranceFileText(const ToleranceSettings& settings, std::string_view datafileName) {
    IniWriter ini(" = ");
    ini.Comment("Tolerances of " + std::string(datafileName) + " for the tolerance analysis.");
    ini.Comment("Each value of a component varies by its percentage; Gaussian "
                "takes it as 3 sigma");
    ini.Comment("and clips draws beyond it.");
    ini.Section(kTolerancesSection);
    for (const ComponentKind& kind : ComponentKinds()) {
        ini.Setting(std::string(1, kind.letter),
                    PercentText(TolerancePercent(settings, kind.letter, {})));
    }
    ini.Setting("Distribution", DistributionName(settings.distribution));
    ini.Setting("Runs", std::to_string(settings.runs));
    ini.Setting("Seed", std::to_string(settings.seed));
    ini.Line("");
    ini.Section(kOverridesSection);
    ini.Comment("a component line of the Datafile = its tolerance");
    for (const auto& [line, percent] : settings.linePercent) {
        ini.Setting(line, PercentText(percent));
    }
    ini.Line("");
    ini.Section(kMaskSection);
    ini.Comment("from (Hz), to (Hz), lowest gain (dB), highest gain (dB); - for "
                "no limit");
    for (const GainMaskSegment& segment : settings.mask) {
        const auto texts = MaskSegmentTexts(segment);
        ini.Line(texts[0] + ", " + texts[1] + ", " + texts[2] + ", " + texts[3]);
    }
    return ini.Text();
}

ToleranceFileReading ParseToleranceFileText(std::string_view text, std::string_view fileName) {
    Reader reader(fileName);
    for (const IniLine& line : ReadIniLines(text, ';')) {
        reader.Line(line);
    }
    return {std::move(reader.settings), reader.Message()};
}

ToleranceFileReading ReadToleranceFile(const std::filesystem::path& path) {
    // Only a name with nothing under it means "no tolerances yet": a link that leads nowhere,
    // or round in a loop, is reported by the reading below.
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        return {DefaultToleranceSettings(), {}};
    }
    try {
        return ParseToleranceFileText(ReadWholeFile(path), path.filename().string());
    } catch (const KelvorError& failure) {
        return {DefaultToleranceSettings(),
                std::string(failure.what()) + "\r\nThe default tolerances are used."};
    }
}

void WriteToleranceFile(const std::filesystem::path& path, const ToleranceSettings& settings,
                        std::string_view datafileName) {
    WriteFileAtomically(path, ToleranceFileText(settings, datafileName));
}

} // namespace kelvor
