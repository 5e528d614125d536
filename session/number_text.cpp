#include "session/number_text.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <version>

namespace {

// The fewest significant digits that read back to `value`, in scientific
// notation ("d.ddde±XX"). printf's digits are correctly rounded, so the
// first count that reads back is the shortest.
std::string ShortestScientific(double value) {
    char buffer[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, value);
        if (std::strtod(buffer, nullptr) == value) {
            break;
        }
    }
    return buffer;
}

// The same value without an exponent: "123.45", "0.00012". A whole number
// is written with all its digits exact, as std::to_chars writes it:
// 2^60 is "1152921504606846976", not "1152921504606847000"; the length is
// the same either way.
std::string Plain(double value, const std::string& digits, int exponent, bool negative) {
    std::string text = negative ? "-" : "";
    if (exponent < 0) {
        return text + "0." + std::string(-exponent - 1, '0') + digits;
    }
    const size_t whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole) {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
        return buffer;
    }
    return text + digits.substr(0, whole) + "." + digits.substr(whole);
}

}  // namespace

std::string ShortestNumberTextByPrintf(double value) {
    const std::string scientific = ShortestScientific(value);
    const bool negative = scientific[0] == '-';
    const size_t e = scientific.find('e');
    std::string digits;
    for (size_t i = negative ? 1 : 0; i < e; ++i) {
        if (scientific[i] != '.') {
            digits += scientific[i];
        }
    }
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    const std::string plain = Plain(value, digits, exponent, negative);
    return plain.size() <= scientific.size() ? plain : scientific;
}

std::string ShortestNumberText(double value) {
#if __cpp_lib_to_chars >= 201611L
    char buffer[32];
    auto [end, result] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
#else
    return ShortestNumberTextByPrintf(value);
#endif
}
