#include "sim/scenario_line.h"

#include <charconv>
#include <cmath>

namespace raz::sim {
namespace {

constexpr double kMaxDurationSeconds = 86400.0;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = Lower(c);
  return result;
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// The longest number at the start of the text, if any.
bool LeadingNumber(std::string_view text, double& value, std::size_t& length) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc{} || !std::isfinite(value)) return false;
  length = static_cast<std::size_t>(result.ptr - text.data());
  return true;
}

double SecondsPerUnit(std::string_view unit) {
  const std::string lowered = Lowered(unit);
  if (lowered.empty() || lowered == "ms") return 1e-3;
  if (lowered == "s") return 1.0;
  if (lowered == "us") return 1e-6;
  return 0.0;
}

}  // namespace

ScenarioLine::ScenarioLine(std::string_view text) {
  text = text.substr(0, text.find('#'));
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    if (pos > start) words_.push_back(text.substr(start, pos - start));
  }
}

std::string_view ScenarioLine::Take(std::string_view what) {
  if (AtEnd()) throw ScenarioLineError("missing " + std::string(what));
  return words_[next_++];
}

std::string ScenarioLine::Word(std::string_view what) { return Lowered(Take(what)); }

bool ScenarioLine::Accept(std::string_view word) {
  if (AtEnd() || Lowered(words_[next_]) != Lowered(word)) return false;
  ++next_;
  return true;
}

bool ScenarioLine::NextIsNumber() const {
  if (AtEnd()) return false;
  double value = 0.0;
  std::size_t length = 0;
  const std::string_view word = words_[next_];
  return LeadingNumber(word, value, length) && length == word.size();
}

double ScenarioLine::Number(std::string_view what, double min, double max) {
  const std::string_view word = Take(what);
  double value = 0.0;
  std::size_t length = 0;
  if (!LeadingNumber(word, value, length) || length != word.size()) {
    throw ScenarioLineError(std::string(what) + " must be a number, not " + Quoted(word));
  }
  if (value < min || value > max) {
    throw ScenarioLineError(std::string(what) + " " + Quoted(word) + " is out of range");
  }
  return value;
}

std::int64_t ScenarioLine::Integer(std::string_view what, std::int64_t min, std::int64_t max) {
  const std::string_view word = Take(what);
  std::int64_t value = 0;
  const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
  if (result.ec == std::errc::result_out_of_range ||
      (result.ec == std::errc{} && result.ptr == word.data() + word.size() &&
       (value < min || value > max))) {
    throw ScenarioLineError(std::string(what) + " " + Quoted(word) + " is out of range");
  }
  if (result.ec != std::errc{} || result.ptr != word.data() + word.size()) {
    throw ScenarioLineError(std::string(what) + " must be a whole number, not " + Quoted(word));
  }
  return value;
}

std::uint64_t ScenarioLine::Unsigned(std::string_view what) {
  const std::string_view word = Take(what);
  std::uint64_t value = 0;
  const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
  if (result.ec != std::errc{} || result.ptr != word.data() + word.size()) {
    throw ScenarioLineError(std::string(what) + " must be a whole number, not " + Quoted(word));
  }
  return value;
}

std::uint64_t ScenarioLine::DurationMicros(std::string_view what) {
  const std::string_view word = Take(what);
  double value = 0.0;
  std::size_t length = 0;
  const double unit = LeadingNumber(word, value, length) ? SecondsPerUnit(word.substr(length)) : 0;
  if (unit == 0.0) {
    throw ScenarioLineError(std::string(what) + " must be a duration such as 250ms or 1.5s, not " +
                            Quoted(word));
  }
  const double seconds = value * unit;
  if (seconds < 0.0 || seconds > kMaxDurationSeconds) {
    throw ScenarioLineError(std::string(what) + " " + Quoted(word) + " is out of range");
  }
  return static_cast<std::uint64_t>(std::llround(seconds * 1e6));
}

void ScenarioLine::End() const {
  if (!AtEnd()) throw ScenarioLineError("unexpected " + Quoted(words_[next_]));
}

}  // namespace raz::sim
