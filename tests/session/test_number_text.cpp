// The printf-made shortest text (the browser build's) against std::to_chars:
// dumps must read the same in every build.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "session/number_text.h"

namespace {

void ExpectSameText(double value) {
    EXPECT_EQ(ShortestNumberTextByPrintf(value), ShortestNumberText(value)) << value;
}

TEST(NumberText, PrintfMakesToCharsTextForTheWorldsKindsOfNumbers) {
    for (double value : {0.0,
                         -0.0,
                         1.0,
                         -1.0,
                         0.1,
                         0.5,
                         2.5,
                         10.0,
                         100.0,
                         1200.0,
                         123456.0,
                         640.0,
                         1e15,
                         1e16,
                         1e17,
                         1e21,
                         1e22,
                         1e23,
                         1.5e-7,
                         0.000123,
                         1e-4,
                         1e-5,
                         123.456,
                         1.0 / 3.0,
                         2.0 / 3.0,
                         320.00000000000006,
                         DBL_MIN,
                         DBL_MAX,
                         DBL_TRUE_MIN,
                         std::nextafter(1.0, 2.0),
                         9007199254740993.0,
                         static_cast<double>(0.1f),
                         static_cast<double>(1.0f / 3.0f)}) {
        ExpectSameText(value);
        ExpectSameText(-value);
    }
}

TEST(NumberText, PrintfMakesToCharsTextForRandomBitsAndPositions) {
    std::mt19937_64 bits(24);
    std::uniform_real_distribution<double> screen(-100.0, 800.0);
    for (int i = 0; i < 20000; ++i) {
        double value = 0;
        const uint64_t pattern = bits();
        std::memcpy(&value, &pattern, sizeof value);
        if (std::isfinite(value)) {
            ExpectSameText(value);
        }
        ExpectSameText(screen(bits));
        ExpectSameText(static_cast<float>(screen(bits)));
    }
}

}  // namespace
