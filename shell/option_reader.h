#pragma once

// A reader of command-line options over a table, for tumble's command line:
// "--NAME", its short form "-N", and for an option that takes a value
// "--NAME VALUE", "--NAME=VALUE" and "-N VALUE". "--" ends the options;
// nothing else is accepted.

#include <span>
#include <string>
#include <string_view>

template <typename Target>
struct Option {
    std::string_view name;   // the long form, without the leading "--"
    char shortName;          // the short form after "-", or 0 for none
    std::string_view value;  // the value's name in the usage ("FILE"); empty for a switch
    std::string_view help;   // one line for the usage
    // Records the option in the target; `value` is empty for a switch and
    // never empty for an option that takes one.
    void (*apply)(Target& target, std::string_view value);
};

namespace option_reader_detail {

template <typename Target>
const Option<Target>* Find(std::span<const Option<Target>> options, std::string_view name,
                           char shortName) {
    for (const Option<Target>& option : options) {
        if (shortName == 0 ? option.name == name
                           : option.shortName != 0 && option.shortName == shortName) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace option_reader_detail

// Applies argv[1] .. argv[argc - 1] to `target` in order and stops at the
// first argument in error. Returns that error as one line ("unknown option
// '--x'", "option '--record' needs a value (FILE)", ...), or an empty string
// when every argument was read.
template <typename Target>
std::string ReadOptions(std::span<const Option<Target>> options, int argc, const char* const* argv,
                        Target& target) {
    using option_reader_detail::Find;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] == nullptr ? std::string_view() : argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            return "unexpected argument '" + std::string(arg) + "'";
        }
        const Option<Target>* option = nullptr;
        std::string shown;  // the option as the messages name it
        std::string_view value;
        bool hasValue = false;
        if (arg[1] == '-') {
            std::string_view name = arg.substr(2);
            if (const auto equals = name.find('='); equals != std::string_view::npos) {
                value = name.substr(equals + 1);
                name = name.substr(0, equals);
                hasValue = true;
            }
            option = Find(options, name, 0);
            shown = "--" + std::string(name);
        } else if (arg.size() == 2) {
            option = Find(options, {}, arg[1]);
            shown = std::string(arg);
        }
        if (option == nullptr) {
            return "unknown option '" + std::string(arg) + "'";
        }
        if (option->value.empty()) {
            if (hasValue) {
                return "option '" + shown + "' takes no value";
            }
            option->apply(target, {});
            continue;
        }
        if (!hasValue && i + 1 < argc && argv[i + 1] != nullptr) {
            value = argv[++i];
            hasValue = true;
        }
        if (!hasValue || value.empty()) {
            return "option '" + shown + "' needs a value (" + std::string(option->value) + ")";
        }
        option->apply(target, value);
    }
    return {};
}

// The options part of a usage: one line each, "  -h, --help  print this help".
template <typename Target>
std::string OptionsUsage(std::span<const Option<Target>> options) {
    constexpr std::size_t kHelpColumn = 24;
    std::string text;
    for (const Option<Target>& option : options) {
        std::string line = "  ";
        line += option.shortName != 0 ? std::string{'-', option.shortName, ',', ' '} : "    ";
        line += "--";
        line += option.name;
        if (!option.value.empty()) {
            line += ' ';
            line += option.value;
        }
        line.resize(line.size() < kHelpColumn ? kHelpColumn : line.size() + 1, ' ');
        line += option.help;
        text += line;
        text += '\n';
    }
    return text;
}
