#include "session/figures_csv.h"

#include "session/number_text.h"

namespace {

void WriteNumber(std::ostream& out, double value) {
    out << ShortestNumberText(value);
}

}  // namespace

void WriteFiguresHeader(std::ostream& out) {
    out << "pass,kinetic_energy,contacts,largest_stick_error,step_ms\n";
}

void WriteFiguresRow(std::ostream& out, int64_t pass, const PassFigures& figures,
                     double stepMilliseconds) {
    out << pass << ',';
    WriteNumber(out, figures.kineticEnergy);
    out << ',' << figures.contacts << ',';
    WriteNumber(out, figures.largestStickError);
    out << ',';
    WriteNumber(out, stepMilliseconds);
    out << '\n';
}
