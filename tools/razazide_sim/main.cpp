// razazide-sim: runs the whole driver headless over a simulated board playing a pen scenario,
// or over a capture of a real board's read batches, and prints what the driver did.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "options.h"
#include "run.h"

int main(int argc, char** argv) {
  using namespace raz::simcli;
  const ParsedOptions parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.help) {
    std::cout << UsageText();
    return 0;
  }
  if (!parsed.errors.empty()) {
    for (const auto& e : parsed.errors) std::cerr << "razazide-sim: " << e << "\n";
    std::cerr << UsageText();
    return 2;
  }
  const Options& o = parsed.options;
  if (o.outPath.empty()) return RunSimulation(o, std::cout, std::cerr);
  std::ofstream out(o.outPath);
  if (!out) {
    std::cerr << "razazide-sim: cannot write " << o.outPath << "\n";
    return 2;
  }
  return RunSimulation(o, out, std::cerr);
}
