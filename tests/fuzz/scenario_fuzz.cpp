// Scenario text through the parser, and what was parsed through the player, the projection,
// the board model and the first 100 ms of a simulated board: every value a scenario may set
// reaches the arithmetic it feeds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/headless_devices.h"
#include "sim/board_model.h"
#include "sim/scenario_parser.h"
#include "sim/scenario_player.h"
#include "sim/sim_board.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace raz::sim;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ScenarioParse parse = ParseScenario(text);
  std::size_t messages = 0;
  for (const ScenarioError& e : parse.errors) messages += FormatError(e).size();

  const ScenarioPlayer player(parse.scenario);
  const BoardModel model(parse.scenario.settings.board.model);
  const std::uint64_t end = player.EndMicros();
  const std::uint64_t times[] = {0,   1,      end / 3, end / 2, 2 * (end / 3), end - end / 7,
                                 end, end + 1};
  std::uint64_t index = 0;
  for (std::uint64_t t : times) {
    const PenState pen = player.PenAt(t);
    messages += player.LinkAt(t).readFailures;
    const PixelPoint pixel = player.projection().ToScreen(pen.position);
    player.projection().ToBoard(pixel);
    model.Report(pen, index++);
  }

  raz::VirtualClock clock;
  SimBoard board(clock, parse.scenario.settings.board);
  board.SetPenSource(&player);
  std::uint32_t count = 0;
  raz::UsbHandle handle = 0;
  board.ProbeDevices(count);
  board.OpenDevice(0, handle);
  board.SetLinkRate(handle, size % 2 == 0 ? raz::kPlainLinkRate : raz::kFramedLinkRate);
  std::vector<std::uint8_t> buffer(4096);
  for (std::uint64_t t = 0; t <= 20'000; t += 10'000) {
    clock.Set(t);
    std::uint32_t queued = 0;
    std::uint32_t status = 0;
    std::uint32_t read = 0;
    board.QueueStatus(handle, queued, status);
    board.Read(handle, buffer.data(), static_cast<std::uint32_t>(buffer.size()), read);
  }
  return messages == 0xFFFFFFFF ? 1 : 0;
}
