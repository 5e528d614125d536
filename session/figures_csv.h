#pragma once

// The per-pass figures of the plots as CSV, for a spreadsheet: a header row,
// then one row a pass.

#include <cstdint>
#include <ostream>

#include "dynamics/measures.h"

// "pass,kinetic_energy,contacts,largest_stick_error,step_ms"
void WriteFiguresHeader(std::ostream& out);

// One row; numbers in the shortest form that reads back to the same double.
void WriteFiguresRow(std::ostream& out, int64_t pass, const PassFigures& figures,
                     double stepMilliseconds);
