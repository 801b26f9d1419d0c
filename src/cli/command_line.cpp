// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>

namespace kelvor::cli {

CommandLine::CommandLine(std::vector<std::string> arguments)
    : arguments_(std::move(arguments)), app_(std::make_unique<CLI::App>()) {
    // Each command prints its own help, which the manual pages are made from.
    app_->set_help_flag();
    // Unknown options are collected and refused with one message of ours.
    app_->allow_extras();
    app_->add_option("arguments", positional_);
}

CommandLine::~CommandLine() = default;

void CommandLine::Flag(const std::string& name, bool& set) {
    set = false;
    app_->add_flag(name, set)->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

void CommandLine::Value(const std::string& name, std::optional<std::string>& value) {
    value.reset();
    auto text = std::make_shared<std::string>();
    CLI::Option* option = app_->add_option(name, *text);
    afterParse_.push_back([option, text, &value] {
        if (option->count() > 0) {
            value = *text;
        }
    });
}

void CommandLine::Values(const std::string& name, std::size_t count,
                         std::optional<std::vector<std::string>>& values) {
    values.reset();
    auto texts = std::make_shared<std::vector<std::string>>();
    CLI::Option* option =
        app_->add_option(name, *texts)->expected(static_cast<int>(count))->allow_extra_args(false);
    afterParse_.push_back([option, texts, &values] {
        if (option->count() > 0) {
            values = *texts;
        }
    });
}

std::vector<std::string> CommandLine::Parse() {
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(arguments_.rbegin(), arguments_.rend());
    try {
        app_->parse(reversed);
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what());
    }
    for (const std::string& extra : app_->remaining()) {
        if (extra != "--") {
            throw UsageError("unknown option " + extra);
        }
    }
    for (const auto& fill : afterParse_) {
        fill();
    }
    return positional_;
}

bool HasOption(const std::vector<std::string>& arguments, const std::string& name) {
    const auto end = std::find(arguments.begin(), arguments.end(), "--");
    return std::find(arguments.begin(), end, name) != end;
}

} // namespace kelvor::cli
