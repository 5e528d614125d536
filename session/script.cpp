#include "session/script.h"

#include <charconv>

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

bool ExpectArguments(const std::vector<std::string_view>& tokens, size_t count, const char* usage,
                     std::string& error) {
    if (tokens.size() - 1 == count) {
        return true;
    }
    error = std::string(tokens.size() - 1 < count ? "missing argument" : "too many arguments") +
            " (usage: " + usage + ")";
    return false;
}

bool ParsePoint(const std::vector<std::string_view>& tokens, ScriptCommand& command,
                std::string& error) {
    int64_t x = 0;
    int64_t y = 0;
    if (!ParseInteger(tokens[1], -kMaxScriptCoordinate, kMaxScriptCoordinate, x, error) ||
        !ParseInteger(tokens[2], -kMaxScriptCoordinate, kMaxScriptCoordinate, y, error)) {
        return false;
    }
    command.x = static_cast<int32_t>(x);
    command.y = static_cast<int32_t>(y);
    return true;
}

bool ParseView(std::string_view token, View& view, std::string& error) {
    if (token == "outlines") {
        view = View::Outlines;
    } else if (token == "roles") {
        view = View::Roles;
    } else if (token == "study") {
        view = View::Study;
    } else {
        error = "unknown view '" + std::string(token) + "' (outlines, roles or study)";
        return false;
    }
    return true;
}

// The commands that take no argument.
struct Keyword {
    const char* name;
    CommandKind kind;
};
constexpr Keyword kKeywords[] = {
    {"dump", CommandKind::Dump},       {"hash", CommandKind::Hash},
    {"reset", CommandKind::Reset},     {"grab", CommandKind::Grab},
    {"release", CommandKind::Release}, {"freeze", CommandKind::Freeze},
    {"follow", CommandKind::Follow},   {"unlight", CommandKind::Unlight},
    {"colour", CommandKind::Colour},
};

bool ParseSwitch(std::string_view token, bool& on, std::string& error) {
    if (token != "on" && token != "off") {
        error = "'" + std::string(token) + "' is neither on nor off";
        return false;
    }
    on = token == "on";
    return true;
}

}  // namespace

bool ParseScriptLine(std::string_view line, ScriptCommand& command, std::string& error) {
    command = ScriptCommand{};
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);  // a script written on Windows
    }
    std::vector<std::string_view> tokens = SplitTokens(line);
    if (tokens.empty() || tokens.front().front() == '#') {
        return true;
    }
    std::string_view name = tokens.front();
    if (name == "box" || name == "mouse" || name == "light") {
        command.kind = name == "box"     ? CommandKind::Box
                       : name == "mouse" ? CommandKind::Mouse
                                         : CommandKind::Light;
        const std::string usage = std::string(name) + " X Y";
        return ExpectArguments(tokens, 2, usage.c_str(), error) &&
               ParsePoint(tokens, command, error);
    }
    if (name == "radius") {
        command.kind = CommandKind::Radius;
        int64_t radius = 0;
        if (!ExpectArguments(tokens, 1, "radius R", error) ||
            !ParseInteger(tokens[1], kMinLightRadius, kMaxLightRadius, radius, error)) {
            return false;
        }
        command.radius = static_cast<int32_t>(radius);
        return true;
    }
    if (name == "soft") {
        command.kind = CommandKind::Soft;
        return ExpectArguments(tokens, 1, "soft on|off", error) &&
               ParseSwitch(tokens[1], command.on, error);
    }
    if (name == "step" || name == "idle") {
        command.kind = name == "step" ? CommandKind::Step : CommandKind::Idle;
        return ExpectArguments(tokens, 1, name == "step" ? "step N" : "idle N", error) &&
               ParseInteger(tokens[1], 0, INT32_MAX, command.passes, error);
    }
    if (name == "view") {
        command.kind = CommandKind::View;
        if (!ExpectArguments(tokens, 1, "view outlines|roles|study", error)) {
            return false;
        }
        return ParseView(tokens[1], command.view, error);
    }
    for (const Keyword& keyword : kKeywords) {
        if (name == keyword.name) {
            command.kind = keyword.kind;
            return ExpectArguments(tokens, 0, keyword.name, error);
        }
    }
    if (name == "shot") {
        command.kind = CommandKind::Shot;
        if (!ExpectArguments(tokens, 1, "shot FILE.png", error)) {
            return false;
        }
        command.file = std::string(tokens[1]);
        return true;
    }
    error = "unknown command '" + std::string(name) + "'";
    return false;
}

std::string FormatScriptLine(const ScriptCommand& command) {
    auto point = [&command](const char* name) {
        return std::string(name) + " " + std::to_string(command.x) + " " +
               std::to_string(command.y);
    };
    switch (command.kind) {
        case CommandKind::None:
            return "";
        case CommandKind::Box:
            return point("box");
        case CommandKind::Mouse:
            return point("mouse");
        case CommandKind::Step:
            return "step " + std::to_string(command.passes);
        case CommandKind::Idle:
            return "idle " + std::to_string(command.passes);
        case CommandKind::View:
            return std::string("view ") + ViewName(command.view);
        case CommandKind::Shot:
            return "shot " + command.file;
        case CommandKind::Light:
            return point("light");
        case CommandKind::Radius:
            return "radius " + std::to_string(command.radius);
        case CommandKind::Soft:
            return command.on ? "soft on" : "soft off";
        default:
            break;
    }
    for (const Keyword& keyword : kKeywords) {
        if (command.kind == keyword.kind) {
            return keyword.name;
        }
    }
    return "";
}

bool ReadScript(std::string_view text, std::vector<ScriptCommand>& commands, ScriptError& error) {
    commands.clear();
    int64_t number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == text.npos ? text.size() : end + 1);
        ++number;
        ScriptCommand command;
        std::string reason;
        if (!ParseScriptLine(line, command, reason)) {
            commands.clear();
            error = {number, reason, std::string(line)};
            return false;
        }
        if (command.kind != CommandKind::None) {
            commands.push_back(std::move(command));
        }
    }
    return true;
}
