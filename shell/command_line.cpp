#include "shell/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <span>
#include <string_view>
#include <utility>

#include "shell/keys.h"
#include "shell/option_reader.h"

#ifndef TUMBLE_VERSION
#error "TUMBLE_VERSION must be defined by the build (the project's version)"
#endif

namespace {

// The command line as it is read: the requests that decide its action once
// every argument has been seen. Options that change the run add their
// fields to CommandLine and set them here.
struct Reading {
    CommandLine line;
    bool help = false;
    bool version = false;
};

// Every option, in the order the usage lists them. One that takes a value
// names it in the third field ("FILE"); the reader then requires the value.
const Option<Reading> kOptions[] = {
    {"help", 'h', "", "print this help and exit",
     [](Reading& reading, std::string_view) { reading.help = true; }},
    {"version", 0, "", "print the version and exit",
     [](Reading& reading, std::string_view) { reading.version = true; }},
    {"record", 0, "FILE", "write the session to FILE as a tumble-sim script",
     [](Reading& reading, std::string_view file) { reading.line.record = file; }},
    {"replay", 0, "FILE", "play the script FILE in the window, then go on",
     [](Reading& reading, std::string_view file) { reading.line.replay = file; }},
};

// The keys, from the table the help overlay shows too.
std::string KeysText() {
    std::string text = "Keys:\n";
    for (const HelpLine& line : KeyHelpLines()) {
        std::string key = line.key;
        key.resize(std::max<size_t>(key.size() + 1, 13), ' ');
        text += "  " + key + line.action + "\n";
    }
    return text;
}

// Writes `text` and flushes; false when any of it could not be written.
bool WriteAll(std::FILE* file, const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool flushed = std::fflush(file) == 0;
    return written && flushed && std::ferror(file) == 0;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    Reading reading;
    std::string error =
        ReadOptions(std::span<const Option<Reading>>(kOptions), argc, argv, reading);
    if (!error.empty()) {
        CommandLine failed;
        failed.action = CommandLine::Action::Error;
        failed.error = std::move(error);
        return failed;
    }
    if (reading.help) {
        reading.line.action = CommandLine::Action::Help;
    } else if (reading.version) {
        reading.line.action = CommandLine::Action::Version;
    }
    return reading.line;
}

std::string UsageText() {
    return "usage: tumble [OPTION]...\n"
           "A real-time 2D physics sandbox: boxes in a walled 640 x 480 world under\n"
           "one light that follows the mouse. Without options it opens the window.\n"
           "A recording replays with tumble --replay FILE, or with tumble-sim FILE.\n"
           "\n"
           "Options:\n" +
           OptionsUsage(std::span<const Option<Reading>>(kOptions)) + "\n" + KeysText();
}

std::string VersionText() {
    return std::string("tumble ") + TUMBLE_VERSION;
}

int AnswerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err) {
    switch (line.action) {
        case CommandLine::Action::Error:
            WriteAll(err, "tumble: " + line.error + "\n" + UsageText());
            return 2;
        case CommandLine::Action::Help:
        case CommandLine::Action::Version: {
            const bool help = line.action == CommandLine::Action::Help;
            errno = 0;
            if (!WriteAll(out, help ? UsageText() : VersionText() + "\n")) {
                const int cause = errno;
                std::fprintf(err, "tumble: cannot write the %s: %s\n", help ? "help" : "version",
                             cause != 0 ? std::strerror(cause) : "write error");
                return 1;
            }
            return 0;
        }
        case CommandLine::Action::Run:
            break;
    }
    return 0;
}
