#include "shell/keys.h"

#include <vector>

std::span<const HelpLine> KeyHelpLines() {
    static const std::vector<HelpLine> lines = [] {
        std::vector<HelpLine> named;
        for (const KeyBinding& binding : kKeyTable) {
            if (binding.name != nullptr) {
                named.push_back({binding.name, binding.help});
            }
        }
        return named;
    }();
    return lines;
}
