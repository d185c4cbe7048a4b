#pragma once
// One line of a scenario text as a stream of words, with readers for the kinds of values the
// commands take. A reader that meets a bad or missing value throws ScenarioLineError, which
// the parser turns into an error for that line.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace raz::sim {

class ScenarioLineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ScenarioLine {
 public:
  // Words are separated by blanks; '#' starts a comment that runs to the end of the line.
  explicit ScenarioLine(std::string_view text);

  bool AtEnd() const { return next_ >= words_.size(); }
  bool Empty() const { return words_.empty(); }
  // The next word in lower case, consumed.
  std::string Word(std::string_view what);
  // Consumes the next word if it is the given one (any case).
  bool Accept(std::string_view word);
  bool NextIsNumber() const;

  double Number(std::string_view what, double min, double max);
  std::int64_t Integer(std::string_view what, std::int64_t min, std::int64_t max);
  std::uint64_t Unsigned(std::string_view what);
  // "250ms", "1.5s", "800us"; a bare number is milliseconds.
  std::uint64_t DurationMicros(std::string_view what);
  // Fails when words are left over.
  void End() const;

 private:
  std::string_view Take(std::string_view what);

  std::vector<std::string_view> words_;
  std::size_t next_ = 0;
};

}  // namespace raz::sim
