#pragma once
// Reads a scenario text. A bad line gives an error with its line number and is skipped; the
// parse goes on so that one run reports every bad line.
#include <string>
#include <string_view>
#include <vector>

#include "sim/scenario.h"

namespace raz::sim {

struct ScenarioError {
  int line = 0;
  std::string message;
};

struct ScenarioParse {
  Scenario scenario;
  std::vector<ScenarioError> errors;
  bool Ok() const { return errors.empty(); }
};

ScenarioParse ParseScenario(std::string_view text);

// "line 3: unknown command 'tuch'"
std::string FormatError(const ScenarioError& error);

}  // namespace raz::sim
