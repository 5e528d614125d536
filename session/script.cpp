#include "session/script.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <istream>
#include <sstream>

#include "session/commands.h"

namespace {

std::vector<std::string_view> SplitTokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

bool ParseInteger(std::string_view token, int64_t min, int64_t max, int64_t& value,
                  std::string& error) {
    int64_t parsed = 0;
    auto [end, result] = std::from_chars(token.data(), token.data() + token.size(), parsed);
    if (result == std::errc::invalid_argument || end != token.data() + token.size()) {
        error = "'" + std::string(token) + "' is not a decimal integer";
        return false;
    }
    if (result == std::errc::result_out_of_range || parsed < min || parsed > max) {
        error = "'" + std::string(token) + "' is out of range (" + std::to_string(min) + " to " +
                std::to_string(max) + ")";
        return false;
    }
    value = parsed;
    return true;
}

bool ParseView(std::string_view token, View& view, std::string& error) {
    for (View candidate : {View::Outlines, View::Roles, View::Study}) {
        if (token == ViewName(candidate)) {
            view = candidate;
            return true;
        }
    }
    error = "unknown view '" + std::string(token) + "' (outlines, roles or study)";
    return false;
}

bool ParseSwitch(std::string_view token, bool& on, std::string& error) {
    if (token != "on" && token != "off") {
        error = "'" + std::string(token) + "' is neither on nor off";
        return false;
    }
    on = token == "on";
    return true;
}

bool ParseShape(std::string_view token, Shape& shape, std::string& error) {
    if (ShapeFromName(token, shape)) {
        return true;
    }
    error = "unknown shape '" + std::string(token) + "' (";
    for (int32_t i = 0; i < kShapeCount; ++i) {
        error += std::string(i == 0                ? ""
                             : i + 1 < kShapeCount ? ", "
                                                   : " or ") +
                 std::string(ShapeName(static_cast<Shape>(i)));
    }
    error += ")";
    return false;
}

bool ParsePoint(const CommandRow& row, std::string_view xToken, std::string_view yToken,
                ScriptCommand& command, std::string& error) {
    int64_t x = 0;
    int64_t y = 0;
    if (!ParseInteger(xToken, row.min, row.max, x, error) ||
        !ParseInteger(yToken, row.min, row.max, y, error)) {
        return false;
    }
    command.x = static_cast<int32_t>(x);
    command.y = static_cast<int32_t>(y);
    return true;
}

size_t ArgumentCount(Arguments arguments) {
    switch (arguments) {
        case Arguments::None:
            return 0;
        case Arguments::Point:
            return 2;
        case Arguments::ShapePoint:
            return 3;
        default:
            return 1;
    }
}

// The arguments after the command's name, as its row shapes them.
bool ParseArguments(const CommandRow& row, std::span<const std::string_view> arguments,
                    ScriptCommand& command, std::string& error) {
    switch (row.arguments) {
        case Arguments::None:
            return true;
        case Arguments::Point:
            return ParsePoint(row, arguments[0], arguments[1], command, error);
        case Arguments::Shape:
            return ParseShape(arguments[0], command.shape, error);
        case Arguments::ShapePoint:
            return ParseShape(arguments[0], command.shape, error) &&
                   ParsePoint(row, arguments[1], arguments[2], command, error);
        case Arguments::Count:
            return ParseInteger(arguments[0], row.min, row.max, command.count, error);
        case Arguments::Switch:
            return ParseSwitch(arguments[0], command.on, error);
        case Arguments::View:
            return ParseView(arguments[0], command.view, error);
        case Arguments::File:
            command.file = std::string(arguments[0]);
            return true;
    }
    return false;
}

std::string FormatArguments(const CommandRow& row, const ScriptCommand& command) {
    switch (row.arguments) {
        case Arguments::None:
            break;
        case Arguments::Point:
            return " " + std::to_string(command.x) + " " + std::to_string(command.y);
        case Arguments::Shape:
            return " " + std::string(ShapeName(command.shape));
        case Arguments::ShapePoint:
            return " " + std::string(ShapeName(command.shape)) + " " + std::to_string(command.x) +
                   " " + std::to_string(command.y);
        case Arguments::Count:
            return " " + std::to_string(command.count);
        case Arguments::Switch:
            return command.on ? " on" : " off";
        case Arguments::View:
            return std::string(" ") + ViewName(command.view);
        case Arguments::File:
            return " " + command.file;
    }
    return "";
}

}  // namespace

bool ParseScriptLine(std::string_view line, ScriptCommand& command, std::string& error) {
    command = ScriptCommand{};
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);  // a script written on Windows
    }
    const std::vector<std::string_view> tokens = SplitTokens(line);
    if (tokens.empty() || tokens.front().front() == '#') {
        return true;
    }
    const CommandRow* row = FindCommand(tokens.front());
    if (row == nullptr) {
        error = "unknown command '" + std::string(tokens.front()) + "'";
        return false;
    }
    command.kind = row->kind;
    const size_t expected = ArgumentCount(row->arguments);
    if (tokens.size() - 1 != expected) {
        error =
            std::string(tokens.size() - 1 < expected ? "missing argument" : "too many arguments") +
            " (usage: " + CommandUsage(*row) + ")";
        return false;
    }
    return ParseArguments(*row, std::span(tokens).subspan(1), command, error);
}

std::string FormatScriptLine(const ScriptCommand& command) {
    const CommandRow* row = CommandRowOf(command.kind);
    return row != nullptr ? row->name + FormatArguments(*row, command) : "";
}

LineRead ReadScriptLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    bool any = false;
    for (;;) {
        const int c = buffer != nullptr ? buffer->sbumpc() : std::char_traits<char>::eof();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return any ? LineRead::Line : LineRead::End;
        }
        if (c == '\n') {
            return LineRead::Line;
        }
        if (line.size() == kMaxScriptLine) {
            return LineRead::TooLong;
        }
        any = true;
        line.push_back(static_cast<char>(c));
    }
}

std::string TooLongReason() {
    return "longer than " + std::to_string(kMaxScriptLine) + " characters";
}

std::string QuoteScriptLine(std::string_view line) {
    constexpr size_t kQuoted = 80;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\r') || byte == 0x7f) {
            return c == '\0' ? "(a line holding a NUL byte)" : "(a line holding a control byte)";
        }
    }
    if (line.size() <= kQuoted) {
        return std::string(line);
    }
    size_t cut = kQuoted;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a UTF-8 character
    }
    return std::string(line.substr(0, cut)) + "…";
}

bool OpenScriptFile(std::ifstream& file, const std::string& path, std::string& reason) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        reason = std::strerror(EISDIR);
        return false;
    }
    errno = 0;
    file.open(path, std::ios::binary);
    if (!file) {
        reason = std::strerror(errno != 0 ? errno : ENOENT);
        return false;
    }
    return true;
}

bool ReadScript(std::istream& in, std::vector<ScriptCommand>& commands, ScriptError& error) {
    commands.clear();
    std::string line;
    for (int64_t number = 1;; ++number) {
        const LineRead read = ReadScriptLine(in, line);
        if (read == LineRead::End) {
            return true;
        }
        ScriptCommand command;
        std::string reason = TooLongReason();
        if (read == LineRead::TooLong || !ParseScriptLine(line, command, reason)) {
            commands.clear();
            error = {number, reason, QuoteScriptLine(line)};
            return false;
        }
        if (command.kind != CommandKind::None) {
            commands.push_back(std::move(command));
        }
    }
}

bool ReadScript(std::string_view text, std::vector<ScriptCommand>& commands, ScriptError& error) {
    std::istringstream in{std::string(text)};
    return ReadScript(in, commands, error);
}
