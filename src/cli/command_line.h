// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kelvor::cli {

// Thrown for a bad command line: the message is printed with the usage hint, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The options of one command, declared into the caller's variables and then read in one pass:
// "--name value" and "--name=value" alike, options anywhere among the positional arguments,
// "--" before arguments that only look like options, and an unknown or repeated option refused.
class CommandLine {
public:
    explicit CommandLine(std::vector<std::string> arguments);
    // The parser holds the addresses of the members it fills.
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;
    ~CommandLine();

    void Flag(const std::string& name, bool& set);
    void Value(const std::string& name, std::optional<std::string>& value);
    // An option followed by `count` values ("--range 1 100k").
    void Values(const std::string& name, std::size_t count,
                std::optional<std::vector<std::string>>& values);

    // Reads the arguments into the declared variables; returns the positional arguments, in
    // order. Throws UsageError.
    std::vector<std::string> Parse();

private:
    std::vector<std::string> arguments_;
    std::unique_ptr<CLI::App> app_;
    std::vector<std::string> positional_;
    // Copies a parsed option into its std::optional, which CLI11 does not fill by itself.
    std::vector<std::function<void()>> afterParse_;
};

// Whether `name` stands among the options, before any "--".
bool HasOption(const std::vector<std::string>& arguments, const std::string& name);

} // namespace kelvor::cli
