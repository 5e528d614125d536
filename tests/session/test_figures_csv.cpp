#include <gtest/gtest.h>

#include <sstream>

#include "session/figures_csv.h"

namespace {

TEST(FiguresCsv, HeaderThenOneRowAPassInShortestForm) {
    std::ostringstream out;
    WriteFiguresHeader(out);
    WriteFiguresRow(out, 1, {51, 3, 0.1}, 1.25);
    WriteFiguresRow(out, 2, {0, 0, 0}, 0);
    EXPECT_EQ(out.str(),
              "pass,kinetic_energy,contacts,largest_stick_error,step_ms\n"
              "1,51,3,0.1,1.25\n"
              "2,0,0,0,0\n");
}

}  // namespace
