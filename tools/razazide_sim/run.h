#pragma once
// One headless run of the whole driver over a simulated or captured board.
#include <ostream>

#include "options.h"

namespace raz::simcli {

// Writes the event lines to out and a short summary to err; returns the exit code.
int RunSimulation(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace raz::simcli
