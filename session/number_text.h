#pragma once

#include <string>

// A double as the shortest text that reads back to the same value, as
// std::to_chars writes it without a format: plain digits or scientific
// notation, whichever is shorter (plain on a tie). Dumps and figures write
// their numbers this way, so that they read back exactly.
std::string ShortestNumberText(double value);

// The same text made with printf, for standard libraries without a
// floating-point std::to_chars (the browser build's); ShortestNumberText
// uses it there.
std::string ShortestNumberTextByPrintf(double value);
