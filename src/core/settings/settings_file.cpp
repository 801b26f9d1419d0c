// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "messages.h"
#include "text/eng_value.h"
#include "text/ini_text.h"
#include "text/words.h"

#include <algorithm>
#include <functional>
#include <system_error>
#include <vector>

namespace kelvor {

namespace {

constexpr std::string_view kSectionName = "Parameters";

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// One key of the table: how it is read from and written to the file.
struct KeyBinding {
    std::string key;
    std::function<void(Settings&, std::string_view)> read;
    std::function<std::string(const Settings&)> write;
    bool writtenWhenEmpty = true;
};

KeyBinding TextKey(const char* key, std::string Settings::*field) {
    return {key,
            [field](Settings& settings, std::string_view value) {
                // Cutting can leave blanks at the end, which the next reading would drop.
                settings.*field = TrimSpacesAndControls(CutText(value, kSettingsTextCapacity));
            },
            [field](const Settings& settings) { return settings.*field; }};
}

// An integer that does not convert leaves the default in place.
KeyBinding IntegerKey(const char* key, int32_t Settings::*field) {
    return {key,
            [field](Settings& settings, std::string_view value) {
                bool ok = true;
                const int32_t number = ParseIntField(value, ok);
                if (ok) {
                    settings.*field = number;
                }
            },
            [field](const Settings& settings) { return std::to_string(settings.*field); }};
}

// A recent Datafile is a name in the working folder, as the current Datafile is: anything
// else (a folder in the name) is not kept.
KeyBinding RecentKey(std::size_t place) {
    return {"Recent" + std::to_string(place + 1),
            [place](Settings& settings, std::string_view value) {
                const std::string name =
                    TrimSpacesAndControls(CutText(value, kSettingsTextCapacity));
                if (IsPlainFileName(name)) {
                    settings.RecentDatafiles[place] = name;
                }
            },
            [place](const Settings& settings) { return settings.RecentDatafiles[place]; }, false};
}

const std::vector<KeyBinding>& KeyTable() {
    static const std::vector<KeyBinding> table = {
        TextKey("Datafilename", &Settings::Datafilename),
        TextKey("GraphOriginX", &Settings::GraphOriginX),
        TextKey("GraphOriginY", &Settings::GraphOriginY),
        TextKey("GraphScaleXY", &Settings::GraphScaleXY),
        {"BoldFont",
         [](Settings& settings, std::string_view value) {
             bool ok = true;
             const int32_t number = ParseIntField(value, ok);
             if (ok) {
                 settings.BoldFont = number != 0;
             }
         },
         [](const Settings& settings) { return std::string(settings.BoldFont ? "1" : "0"); }},
        IntegerKey("GraphBoxColour", &Settings::GraphBoxColour),
        IntegerKey("FCode", &Settings::FCode),
        TextKey("FSStr", &Settings::FSStr),
        TextKey("FFStr", &Settings::FFStr),
        TextKey("SqFStr", &Settings::SqFStr),
        TextKey("WidthStr", &Settings::WidthStr),
        IntegerKey("GraphScale", &Settings::GraphScale),
        IntegerKey("GraphTop", &Settings::GraphTop),
    };
    static const std::vector<KeyBinding> withRecent = [] {
        std::vector<KeyBinding> keys = table;
        for (std::size_t place = 0; place < kRecentDatafileCount; ++place) {
            keys.push_back(RecentKey(place));
        }
        return keys;
    }();
    return withRecent;
}

// A value must stay on its own line and read back the same: control characters become spaces.
std::string CleanValue(std::string_view value) {
    std::string clean = CutText(value, kSettingsTextCapacity);
    for (char& c : clean) {
        if (static_cast<unsigned char>(c) < 32) {
            c = ' ';
        }
    }
    return clean;
}

bool IsExistingFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

Settings ParseSettingsText(std::string_view iniText) {
    Settings settings;
    const auto& table = KeyTable();
    std::vector<bool> seen(table.size(), false);
    for (const IniLine& line : ReadIniLines(iniText, '\0')) {
        std::string key;
        std::string value;
        if (line.startsSection || !EqualIgnoringCase(line.section, kSectionName) ||
            !SplitIniSetting(line.text, EqualsSign::First, key, value)) {
            continue;
        }
        for (std::size_t i = 0; i < table.size(); ++i) {
            // The first line of a key counts, as with the system's own profile reader.
            if (!seen[i] && EqualIgnoringCase(key, table[i].key)) {
                seen[i] = true;
                table[i].read(settings, value);
                break;
            }
        }
    }
    // Places left empty by a hand-edited file close up, and a name is listed once.
    const auto recent = settings.RecentDatafiles;
    settings.RecentDatafiles = {};
    for (auto name = recent.rbegin(); name != recent.rend(); ++name) {
        if (!name->empty()) {
            RememberRecentDatafile(settings, *name);
        }
    }
    return settings;
}

void RememberRecentDatafile(Settings& settings, const std::string& name) {
    if (name.empty()) {
        return;
    }
    ForgetRecentDatafile(settings, name);
    auto& recent = settings.RecentDatafiles;
    std::move_backward(recent.begin(), recent.end() - 1, recent.end());
    recent.front() = CutText(name, kSettingsTextCapacity);
}

void ForgetRecentDatafile(Settings& settings, const std::string& name) {
    auto& recent = settings.RecentDatafiles;
    const auto end = std::remove(recent.begin(), recent.end(), name);
    std::fill(end, recent.end(), std::string());
}

std::string SettingsText(const Settings& settings, const std::string& today) {
    IniWriter ini("=");
    ini.Section(kSectionName);
    for (const KeyBinding& binding : KeyTable()) {
        if (!binding.writtenWhenEmpty && binding.write(settings).empty()) {
            continue;
        }
        ini.Setting(binding.key, CleanValue(binding.write(settings)));
    }
    ini.Setting("Updated", CleanValue(today));
    return ini.Text();
}

Settings ReadSettings(const std::filesystem::path& folder, MessageSink& messages,
                      const std::string& today) {
    Settings settings;
    const std::filesystem::path settingsPath = folder / kSettingsFileName;
    if (IsExistingFile(settingsPath)) {
        try {
            settings = ParseSettingsText(ReadWholeFile(settingsPath, kSettingsSizeLimit));
        } catch (const KelvorError& error) {
            // The defaults, as for a missing file; the user learns why the choices are gone.
            messages.ShowWarning(std::string(error.what()) +
                                 "\r\n\r\n  The default settings are used.");
        }
    }
    // A name with a folder in it would reach outside the working folder, where Datafiles never
    // live; treat it like a Datafile that has gone.
    if (!IsPlainFileName(settings.Datafilename) ||
        !IsExistingFile(folder / settings.Datafilename)) {
        settings.Datafilename = kSampleDatafileName;
        if (!IsExistingFile(folder / kSampleDatafileName)) {
            messages.ShowWarning("  Making new file HPFILTER.DAT  ");
            WriteFileAtomically(folder / kSampleDatafileName, SampleDatafileText(today),
                                WriteDurability::Durable, LinkPolicy::Refuse);
        }
    }
    try {
        WriteSettings(folder, settings, today);
    } catch (const KelvorError&) {
        // Settings that cannot be kept cost only the user's last choices; the run goes on.
    }
    return settings;
}

void WriteSettings(const std::filesystem::path& folder, const Settings& settings,
                   const std::string& today) {
    WriteFileAtomically(folder / kSettingsFileName, SettingsText(settings, today),
                        WriteDurability::Durable, LinkPolicy::Refuse);
}

} // namespace kelvor
